#pragma once
// A view without windows, for tests: it records what the model tells its views
// and acts on the form as a user would, raising the events a toolkit raises for
// each action. A user can only reach the controls of the active page (and the
// frame around it), so acting on a hidden page's control is a test error and
// throws std::logic_error.

#include <string>
#include <vector>

#include "platform/Platform.h"
#include "ui/DirectoryRows.h"
#include "ui/FormModel.h"

namespace vorpane::ui {

// Every property of one control as the model holds it now.
struct ControlSnapshot {
  std::string name;
  ControlKind kind = ControlKind::Panel;
  std::string text;
  bool checked = false;
  int position = 0;
  int maximum = 0;
  std::vector<std::string> items;
  int itemIndex = -1;
  std::string directory;
  char drive = 0;
  bool timerEnabled = false;
};

class HeadlessView : public FormView {
 public:
  struct Change {
    std::string control;  // empty for the form's own properties
    Property property;
    friend bool operator==(const Change&, const Change&) = default;
  };

  // The platform answers what the directory and drive choosers show; a view
  // made without one cannot show them (rows(), drives(), openRow() throw) and
  // lets pickDrive() pick any letter.
  explicit HeadlessView(FormModel& model);
  HeadlessView(FormModel& model, platform::Platform& platform);
  ~HeadlessView() override;
  HeadlessView(const HeadlessView&) = delete;
  HeadlessView& operator=(const HeadlessView&) = delete;

  // --- what the model told ------------------------------------------------------------
  const std::vector<Change>& changes() const { return changes_; }
  const std::vector<std::string>& pageActivations() const { return pageActivations_; }
  const std::vector<std::string>& focusChanges() const { return focusChanges_; }
  void clearRecords();

  // --- what a user does ---------------------------------------------------------------
  // Clicks a control; a check box toggles before its Click is raised.
  void click(const std::string& control);
  // Types into an edit one character at a time: each keystroke (upper-cased in
  // an upper-case edit) raises Change. The edit takes the focus first; when
  // its whole text is selected, the first keystroke replaces it.
  void type(const std::string& control, const std::string& text);
  // Presses Enter where the focused control does not take it itself: the
  // model's default button is clicked, or nothing happens without one.
  void pressEnter();
  // Selects everything in an edit and deletes it.
  void clearText(const std::string& control);
  // Picks a drive in a DriveSelector, which moves its linked list.
  void pickDrive(const std::string& control, char letter);
  // Picks an entry of a drop-down list by its index.
  void pickItem(const std::string& control, int index);
  // Double-clicks a DirectoryList row, entering the directory it stands for;
  // the row is found by its shown name (case-insensitively).
  void openRow(const std::string& list, const std::string& rowName);
  // Lets a timer's interval pass: raises its Timer event only if it is enabled.
  bool fireTimer(const std::string& timer);

  // --- what the user sees --------------------------------------------------------------
  ControlSnapshot snapshot(const std::string& control) const;
  std::vector<ControlSnapshot> snapshotAll() const;
  std::vector<DirectoryRow> rows(const std::string& list) const;
  std::vector<DriveEntry> drives() const;

  // --- FormView ------------------------------------------------------------------------
  void modelChanged(const std::string& control, Property property) override;
  void activePageChanged(const std::string& page) override;
  void focusChanged(const std::string& control) override;

 private:
  const ControlDescription& reachable(const std::string& control, ControlKind kind) const;
  const ControlDescription& reachable(const std::string& control) const;
  platform::Platform& platform() const;

  FormModel& model_;
  platform::Platform* platform_ = nullptr;
  std::vector<Change> changes_;
  std::vector<std::string> pageActivations_;
  std::vector<std::string> focusChanges_;
};

}  // namespace vorpane::ui
