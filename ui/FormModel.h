#pragma once
// The live state of the wizard form, per control, as a toolkit keeps it: text,
// check mark, progress position and maximum, list items and selection, the
// DirectoryList's directory and the DriveSelector's drive; the active page, the
// focused control and the timers. Handlers change the model; the model tells
// its views; views report what the user did through raise() and the user-side
// setters, which fire the bound events as a toolkit would.

#include <exception>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ui/FormDescription.h"

namespace vorpane::ui {

enum class Property {
  Caption,
  Text,
  Checked,
  Position,
  Maximum,
  Items,
  ItemIndex,
  Directory,
  Drive,
  Timer,
  Visible,
  Selection,
};

// A view observes the model; it is told after every change.
class FormView {
 public:
  virtual ~FormView() = default;
  // control is empty for the form's own properties (Caption).
  virtual void modelChanged(const std::string& control, Property property) = 0;
  virtual void activePageChanged(const std::string& page) = 0;
  virtual void focusChanged(const std::string& control) = 0;
};

class FormModel {
 public:
  using Handler = std::function<void(const std::string& sender)>;
  using ExceptionHandler = std::function<void(const std::exception&)>;

  explicit FormModel(const FormDescription& description);

  const FormDescription& description() const { return description_; }

  // --- views and handlers ----------------------------------------------------------
  void addView(FormView* view);
  void removeView(FormView* view);
  // Binds a handler name of the description to code.
  void bindHandler(const std::string& handlerName, Handler handler);
  // What the application does with an exception that escapes a handler.
  void setExceptionHandler(ExceptionHandler handler);
  // Raises a control's event (or the form's, with the form's name): runs the
  // bound handler if there is one; an escaping exception goes to the
  // exception handler. Returns whether a handler ran.
  bool raise(const std::string& control, Event event);

  // --- form ------------------------------------------------------------------------
  const std::string& caption() const { return caption_; }
  void setCaption(const std::string& caption);

  // --- pages -----------------------------------------------------------------------
  const std::string& activePage() const { return activePage_; }
  int activePageIndex() const;
  // Activates a page and runs its show handler, every time it is activated.
  void setActivePage(const std::string& page);

  // --- controls --------------------------------------------------------------------
  const std::string& text(const std::string& control) const;
  // Setting an edit's text raises its Change event when the text differs.
  void setText(const std::string& control, const std::string& text);
  bool checked(const std::string& control) const;
  void setChecked(const std::string& control, bool checked);
  int position(const std::string& control) const;
  void setPosition(const std::string& control, int position);  // clamped to 0..maximum
  int maximum(const std::string& control) const;
  void setMaximum(const std::string& control, int maximum);
  const std::vector<std::string>& items(const std::string& control) const;
  void clearItems(const std::string& control);
  void addItem(const std::string& control, const std::string& item);
  int itemIndex(const std::string& control) const;  // -1 for none
  // A select-only box: text() is the selected item; an index the box does not
  // have selects none.
  void setItemIndex(const std::string& control, int index);
  // A DirectoryList's current directory (no trailing backslash but on a drive
  // root, "C:\"). Every setting raises the list's Change event, also to the
  // same directory; the list's drive selector follows.
  const std::string& directory(const std::string& control) const;
  void setDirectory(const std::string& control, const std::string& directory);
  // A DriveSelector's drive letter (upper case). Picking a drive moves the
  // linked list to the drive's root, which raises the list's Change event.
  char drive(const std::string& control) const;
  void setDrive(const std::string& control, char letter);

  // Whether a control shows on its page; hidden controls take no input.
  bool visible(const std::string& control) const;
  void setVisible(const std::string& control, bool visible);

  // An edit's whole text selected, so that what is typed next replaces it;
  // any change of the text ends the selection. Selecting gives the edit the
  // focus.
  bool allSelected(const std::string& edit) const;
  void selectAll(const std::string& edit);

  const std::string& focus() const { return focus_; }
  void setFocus(const std::string& control);
  // The button Enter presses now: the focused button, or else the active
  // page's forward button; empty when there is neither.
  std::string defaultButton() const;

  bool timerEnabled(const std::string& timer) const;
  void setTimerEnabled(const std::string& timer, bool enabled);

 private:
  struct ControlState {
    std::string text;
    bool checked = false;
    int position = 0;
    int maximum = 100;
    std::vector<std::string> items;
    int itemIndex = -1;
    std::string directory;
    char drive = 'C';
    bool timerEnabled = false;
    bool visible = true;
    bool allSelected = false;
  };

  // Unknown names and properties asked of the wrong kind of control are
  // programming errors: they throw std::logic_error.
  const ControlDescription& describe(const std::string& control) const;
  ControlState& state(const std::string& control);
  const ControlState& state(const std::string& control) const;
  ControlState& state(const std::string& control, ControlKind kind);
  const ControlState& state(const std::string& control, ControlKind kind) const;
  void selectItem(const std::string& control, ControlState& state, int index);
  bool isPressable(const std::string& button) const;
  void notify(const std::string& control, Property property);

  const FormDescription& description_;
  std::map<std::string, ControlState> states_;
  std::map<std::string, Handler> handlers_;
  ExceptionHandler exceptionHandler_;
  std::vector<FormView*> views_;
  std::string caption_;
  std::string activePage_;
  std::string focus_;
};

}  // namespace vorpane::ui
