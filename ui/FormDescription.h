#pragma once
// The wizard form described as data: the window, its frame of bars, the page
// container with its thirteen pages, every control with its name, kind, parent,
// geometry, text, initial state, tab order and event bindings, and the timers.
// This description is the one source of truth: the Win32 view creates the real
// windows from it, the headless view and the tests read it.
// Geometry is in pixels at 96 dpi, relative to the parent's client area.

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace vorpane::ui {

enum class ControlKind {
  Panel,
  Image,
  Button,
  Label,
  StaticText,
  Memo,
  Edit,
  CheckBox,
  ComboBox,
  ProgressBar,
  DirectoryList,
  DriveSelector,
  PageControl,
  Page,
  Timer,
};

enum class Dock { None, Top, Bottom, Left, Right, Fill };

enum class Event { Create, Close, Show, Click, Change, Timer };

struct Rect {
  int x = 0, y = 0, w = 0, h = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

// 0x00RRGGBB, or one of the system colours below.
struct Colour {
  std::uint32_t value = 0;
  friend bool operator==(const Colour&, const Colour&) = default;
};
namespace colours {
inline constexpr Colour Navy{0x000080};
inline constexpr Colour Blue{0x0000FF};
inline constexpr Colour SkyBlue{0xA6CAF0};
inline constexpr Colour White{0xFFFFFF};
inline constexpr Colour Black{0x000000};
inline constexpr Colour ButtonFace{0xFF000001};  // the platform's system colour
inline constexpr Colour WindowText{0xFF000002};  // the platform's system colour
inline constexpr bool isSystem(Colour c) { return (c.value & 0xFF000000u) != 0; }
}  // namespace colours

struct Font {
  std::string face = "MS Sans Serif";
  int height = 11;  // pixels at 96 dpi
  bool bold = false;
  bool italic = false;
  bool underline = false;
  Colour colour = colours::WindowText;
  friend bool operator==(const Font&, const Font&) = default;
};

struct Binding {
  Event event;
  std::string handler;  // a method name of TFrmInstallVorpane, e.g. "Button8Click"
};

struct ControlDescription {
  std::string name;
  ControlKind kind = ControlKind::Panel;
  std::string parent;  // the form's name for top-level controls
  Rect bounds;
  Dock dock = Dock::None;
  std::string text;                     // caption, text or placeholder
  Colour colour = colours::ButtonFace;  // background of panels and pages
  bool parentColour = true;             // labels and the like show the parent's background
  Font font;
  bool raisedBevel = false;  // panels
  int tabOrder = -1;         // -1 for controls that take no focus
  bool checked = false;      // check boxes
  bool readOnly = false;     // memos
  bool upperCase = false;    // edits that turn typed letters into upper case
  bool link = false;         // labels that open a link: hand pointer
  std::string picture;       // images: embedded picture's name, e.g. "welcome.jpg"
  Rect pictureSize;          // images: the picture's pixel size (w, h)
  bool stretch = false;      // images: scale the picture to the box
  bool autoSize = false;     // images: the box takes the picture's size; labels: the box
                             // takes the measured text's size (the stored width is an estimate)
  bool wordWrap = false;     // labels: lines break between words within the stored box, and a
                             // text longer than the box ends in "..." on its last whole line
  bool forward = false;      // buttons: the page's way on, which Enter presses
  bool visible = true;       // hidden controls appear only when the wizard shows them
  std::string linkedList;    // drive selectors: the DirectoryList they move
  int interval = 0;          // timers, milliseconds
  std::vector<Binding> bindings;

  const std::string* handlerFor(Event e) const {
    for (const auto& b : bindings)
      if (b.event == e) return &b.handler;
    return nullptr;
  }
};

struct FormDescription {
  std::string name;       // "FrmInstallVorpane"
  std::string className;  // "TFrmInstallVorpane"
  std::string caption;    // at design time
  int clientWidth = 0;    // at 96 dpi
  int clientHeight = 0;
  Rect designBounds;  // stored position; the window is centred when shown
  Colour colour = colours::ButtonFace;
  Font font;
  std::vector<Binding> bindings;             // form creation and closing
  std::string pageControl;                   // "PageControl1"
  std::vector<std::string> pages;            // page names in index order
  std::vector<ControlDescription> controls;  // parents always before children
  // Control names to their place in controls; indexControls() fills it once
  // the controls are complete, so that looking a control up is no scan.
  std::unordered_map<std::string, std::size_t> controlIndex;

  void indexControls();
  const ControlDescription* find(const std::string& controlName) const;
  // The page's title caption, or empty for a name that is no page.
  std::string pageTitle(const std::string& pageName) const;
  // The page a control lies on (the page itself for a page), or empty for the
  // frame, the page container and the timers.
  std::string pageOf(const std::string& controlName) const;
  // The page's forward button ("&Next", "&Install", ...), or empty for a page
  // without one (the progress and search pages).
  std::string forwardButtonOf(const std::string& pageName) const;
};

// The installer's wizard form.
const FormDescription& installFormDescription();

}  // namespace vorpane::ui
