#include "ui/FormDescription.h"

#include <utility>

#include "product/Product.h"
#include "product/ProductTexts.h"

namespace vorpane::ui {

void FormDescription::indexControls() {
  controlIndex.clear();
  for (std::size_t i = 0; i < controls.size(); ++i) controlIndex.emplace(controls[i].name, i);
}

const ControlDescription* FormDescription::find(const std::string& controlName) const {
  if (controlIndex.size() == controls.size()) {
    const auto found = controlIndex.find(controlName);
    return found == controlIndex.end() ? nullptr : &controls[found->second];
  }
  for (const auto& c : controls)
    if (c.name == controlName) return &c;
  return nullptr;
}

std::string FormDescription::pageTitle(const std::string& pageName) const {
  const ControlDescription* page = find(pageName);
  if (page == nullptr || page->kind != ControlKind::Page) return {};
  for (const auto& c : controls)
    if (c.parent == pageName && c.kind == ControlKind::Panel && c.dock == Dock::Top) return c.text;
  return {};
}

std::string FormDescription::pageOf(const std::string& controlName) const {
  for (const ControlDescription* c = find(controlName); c != nullptr; c = find(c->parent))
    if (c->kind == ControlKind::Page) return c->name;
  return {};
}

std::string FormDescription::forwardButtonOf(const std::string& pageName) const {
  for (const auto& c : controls)
    if (c.forward && pageOf(c.name) == pageName) return c.name;
  return {};
}

namespace {

using colours::Black;
using colours::Blue;
using colours::Navy;
using colours::SkyBlue;
using colours::White;

constexpr const char* kFormName = "FrmInstallVorpane";
constexpr const char* kPageControl = "PageControl1";

// Every page has the same client area and the same three bars.
constexpr int kPageWidth = 746;
constexpr int kPageHeight = 458;
constexpr int kTitleHeight = 41;
constexpr int kBarHeight = 41;
constexpr int kBodyHeight = kPageHeight - kTitleHeight - kBarHeight;
constexpr int kLabelHeight = 13;
// Labels without a stored size get an estimate from their text (the form's font
// averages about five pixels a character) and are marked auto-sized, so a view
// that can measure text fits the box to it.
constexpr int kEstimatedCharWidth = 5;

Font titleFont() {
  Font f;
  f.height = 21;
  f.colour = White;
  return f;
}

Font sloganFont() {
  Font f;
  f.height = 19;
  f.italic = true;
  f.colour = White;
  return f;
}

Font linkFont() {
  Font f;
  f.underline = true;
  f.colour = Blue;
  return f;
}

Font boldFont() {
  Font f;
  f.bold = true;
  return f;
}

Font fontIn(Colour colour) {
  Font f;
  f.colour = colour;
  return f;
}

enum class Fit { Unscaled, Stretch, AutoSize };

// Collects the controls in creation order; every helper returns the control it
// added so a caller can set the rarer properties right away. The reference is
// only valid until the next control is added.
class Builder {
 public:
  explicit Builder(FormDescription& form) : form_(form) {}

  ControlDescription& add(std::string name, ControlKind kind, std::string parent, Rect bounds) {
    ControlDescription c;
    c.name = std::move(name);
    c.kind = kind;
    c.parent = std::move(parent);
    c.bounds = bounds;
    form_.controls.push_back(std::move(c));
    return form_.controls.back();
  }

  ControlDescription& panel(std::string name, std::string parent, Rect bounds, Colour colour,
                            Dock dock = Dock::None) {
    auto& c = add(std::move(name), ControlKind::Panel, std::move(parent), bounds);
    c.colour = colour;
    c.parentColour = false;
    c.dock = dock;
    return c;
  }

  ControlDescription& button(std::string name, std::string parent, Rect bounds, std::string text,
                             int tabOrder, std::string clickHandler) {
    auto& c = add(std::move(name), ControlKind::Button, std::move(parent), bounds);
    c.parentColour = false;
    c.text = std::move(text);
    c.tabOrder = tabOrder;
    c.bindings.push_back({Event::Click, std::move(clickHandler)});
    return c;
  }

  // A label whose size the form stores.
  ControlDescription& label(std::string name, std::string parent, Rect bounds, std::string text) {
    auto& c = add(std::move(name), ControlKind::Label, std::move(parent), bounds);
    c.text = std::move(text);
    return c;
  }

  // A label sized by its text.
  ControlDescription& label(std::string name, std::string parent, int x, int y, std::string text) {
    const int width = static_cast<int>(text.size()) * kEstimatedCharWidth;
    auto& c = label(std::move(name), std::move(parent), {x, y, width, kLabelHeight}, std::move(text));
    c.autoSize = true;
    return c;
  }

  ControlDescription& staticText(std::string name, std::string parent, Rect bounds, std::string text,
                                 Font font = {}) {
    auto& c = add(std::move(name), ControlKind::StaticText, std::move(parent), bounds);
    c.text = std::move(text);
    c.font = std::move(font);
    return c;
  }

  ControlDescription& image(std::string name, std::string parent, Rect bounds, std::string picture,
                            int pictureWidth, int pictureHeight, Fit fit) {
    auto& c = add(std::move(name), ControlKind::Image, std::move(parent), bounds);
    c.picture = std::move(picture);
    c.pictureSize = {0, 0, pictureWidth, pictureHeight};
    c.stretch = fit == Fit::Stretch;
    c.autoSize = fit == Fit::AutoSize;
    return c;
  }

  // Entry controls keep their own white background.
  ControlDescription& entry(std::string name, ControlKind kind, std::string parent, Rect bounds,
                            int tabOrder) {
    auto& c = add(std::move(name), kind, std::move(parent), bounds);
    c.colour = White;
    c.parentColour = false;
    c.tabOrder = tabOrder;
    return c;
  }

  ControlDescription& memo(std::string name, std::string parent, Rect bounds, std::string text,
                           int tabOrder) {
    auto& c = entry(std::move(name), ControlKind::Memo, std::move(parent), bounds, tabOrder);
    c.text = std::move(text);
    c.readOnly = true;
    // Both memos share one click handler.
    c.bindings.push_back({Event::Click, "Memo1Click"});
    return c;
  }

  ControlDescription& checkBox(std::string name, std::string parent, Rect bounds, std::string text,
                               int tabOrder, bool checked) {
    auto& c = add(std::move(name), ControlKind::CheckBox, std::move(parent), bounds);
    c.text = std::move(text);
    c.tabOrder = tabOrder;
    c.checked = checked;
    return c;
  }

  ControlDescription& progressBar(std::string name, std::string parent, Rect bounds) {
    return add(std::move(name), ControlKind::ProgressBar, std::move(parent), bounds);
  }

  ControlDescription& timer(std::string name, int interval, std::string handler) {
    auto& c = add(std::move(name), ControlKind::Timer, kFormName, {});
    c.interval = interval;
    c.bindings.push_back({Event::Timer, std::move(handler)});
    return c;
  }

  // --- pages ---------------------------------------------------------------------

  struct Bars {
    std::string body;
    std::string bar;
  };

  // A page with its title bar, body and button bar. Within the page the body
  // comes first in tab order and the navigation buttons after it; the title
  // takes no focus.
  Bars page(const std::string& name, std::string title, std::string titlePanel, std::string bodyPanel,
            std::string barPanel) {
    auto& p = add(name, ControlKind::Page, kPageControl, {4, 4, kPageWidth, kPageHeight});
    p.text = name;  // a page's caption is its name, never shown
    p.parentColour = false;
    p.bindings.push_back({Event::Show, name + "Show"});
    form_.pages.push_back(name);

    auto& t = panel(std::move(titlePanel), name, {0, 0, kPageWidth, kTitleHeight}, Blue, Dock::Top);
    t.text = std::move(title);
    t.font = titleFont();
    auto& b = panel(bodyPanel, name, {0, kTitleHeight, kPageWidth, kBodyHeight}, SkyBlue, Dock::Fill);
    b.tabOrder = 0;
    auto& n =
        panel(barPanel, name, {0, kTitleHeight + kBodyHeight, kPageWidth, kBarHeight}, White, Dock::Bottom);
    n.raisedBevel = true;
    n.tabOrder = 1;
    return {std::move(bodyPanel), std::move(barPanel)};
  }

  // The navigation buttons of a button bar, always at the same places.
  void exitButton(std::string name, const std::string& bar) {
    button(std::move(name), bar, {8, 8, 75, 25}, "&Exit", 0, "Button1Click");
  }
  void backButton(std::string name, const std::string& bar, int tabOrder = 1) {
    std::string handler = name + "Click";
    button(std::move(name), bar, {586, 8, 75, 25}, "&Back", tabOrder, std::move(handler));
  }
  void nextButton(std::string name, const std::string& bar, int tabOrder) {
    std::string handler = name + "Click";
    button(std::move(name), bar, {665, 8, 75, 25}, "&Next", tabOrder, std::move(handler)).forward = true;
  }

 private:
  FormDescription& form_;
};

// --- the window and its frame ------------------------------------------------------

void describeWindow(FormDescription& form) {
  form.name = kFormName;
  form.className = "TFrmInstallVorpane";
  form.caption = "Installation Vorpane nnnn";
  form.clientWidth = 804;
  form.clientHeight = 529;
  form.designBounds = {212, 88, 0, 0};
  form.bindings = {{Event::Create, "FormCreate"}, {Event::Close, "FormClose"}};
  form.pageControl = kPageControl;
}

void frame(Builder& b) {
  b.panel("Panel1", kFormName, {0, 0, 804, 40}, Navy, Dock::Top);
  // The icon is drawn at its own size; the box is larger than the bar and clipped by it.
  b.image("Image1", "Panel1", {7, 5, 105, 105}, "icon.ico", 32, 32, Fit::Unscaled);
  b.panel("Panel2", kFormName, {0, 40, 25, 468}, Navy, Dock::Left);
  b.panel("Panel3", kFormName, {0, 508, 804, 21}, Navy, Dock::Bottom);
  b.panel("Panel4", kFormName, {779, 40, 25, 468}, Navy, Dock::Right);
  auto& pc = b.add(kPageControl, ControlKind::PageControl, kFormName, {25, 40, 754, 468});
  pc.dock = Dock::Fill;
  pc.tabOrder = 0;
}

// --- the pages, in index order -------------------------------------------------------

void welcomePage(Builder& b) {
  const auto [body, bar] = b.page("Tab01Welcome", "Welcome", "Panel5", "Panel7", "Panel6");
  b.exitButton("Button1", bar);
  b.nextButton("BtnNext1", bar, 1);
  b.image("Image2", body, {0, -1, 520, 390}, "welcome.jpg", 800, 600, Fit::Stretch);
  b.label("Label1", body, {541, 8, 159, 13}, "Thanks for installing Vorpane").font = boldFont();
  b.staticText("StaticText5", body, {544, 32, 177, 65},
               "Vorpane is a modern p2p file sharing tool allowing you to share, search and download "
               "files over an encrypted network.",
               fontIn(Black));
  b.staticText("StaticText6", body, {544, 96, 193, 65},
               "With this installation you install Vorpane and nothing else. We are not putting any crap "
               "on your PC, change no settings, put no DLL's, show no banners and install no spyware.",
               fontIn(White));
  b.staticText("StaticText7", body, {528, 334, 206, 17}, "We wish you a lot of pleasure using Vorpane",
               fontIn(Black));
  b.staticText("StaticText8", body, {528, 350, 87, 17}, "The Vorpane team.", fontIn(Black));
}

void disclaimerPage(Builder& b) {
  const auto [body, bar] = b.page("Tab02Disclaimer", "Disclaimer", "Panel9", "Panel10", "Panel8");
  b.exitButton("Button2", bar);
  b.backButton("Button4", bar);
  b.nextButton("Button3", bar, 2);
  b.memo("Memo2", body, {12, 6, 445, 285}, product::kLegalStatement, 0);
  b.image("Image3", body, {456, 8, 280, 283}, "disclaimer.jpg", 280, 283, Fit::Stretch);
  b.label("Label3", body, {16, 309, 437, 13},
          "Read the statement above and type YES in in case you fully agree, otherwise type NO or exit");
  b.label("Label4", body, {17, 333, 200, 13}, "I agree to the statement above (Yes/No) : ");
  auto& agree = b.entry("EdAgree", ControlKind::Edit, body, {224, 330, 39, 21}, 1);
  agree.upperCase = true;
  agree.bindings.push_back({Event::Change, "EdAgreeChange"});
}

void choosePage(Builder& b) {
  const auto [body, bar] = b.page("Tab03Choose", "Installation", "Panel13", "Panel12", "Panel11");
  b.exitButton("Button5", bar);
  b.backButton("Button7", bar);
  b.memo("MemoVersion", body, {380, 8, 325, 166}, "", 0);
  b.label("Label4a", body, {503, 276, 120, 13}, "What do you want to do?");
  b.button("BtnInstall", body, {503, 301, 233, 25}, "Install Vorpane on this computer", 1, "BtnInstallClick");
  b.button("BtnUpgrade", body, {503, 333, 233, 25}, "Upgrade an existing installation", 2, "BtnUpgradeClick");

  const std::string contact = "Panel44";
  auto& box = b.panel(contact, body, {8, 8, 345, 329}, White);
  box.raisedBevel = true;
  box.tabOrder = 3;
  b.image("Image4", contact, {8, 8, 225, 193}, "choose.jpg", 225, 193, Fit::AutoSize);
  b.label("Label2", contact, 8, 208, "We did a lot to make sure installation of Vorpane will work smoothly.");
  b.label("Label5", contact, 9, 228, "In case you experience some problems anyway please let us know");
  b.label("Label14", contact, 8, 248, "so we can try to help. You can reach us at :");
  auto& mail = b.label("Label18", contact, {216, 248, 81, 13}, product::kSupportMail);
  mail.font = linkFont();
  mail.link = true;
  mail.bindings.push_back({Event::Click, "Label18Click"});
  b.label("Label19", contact, 11, 281,
          "Just for any case an installation manual is availabe on our website: ");
  auto& manual =
      b.label("Label20", contact, {11, 299, 259, 13}, std::string(product::kWebHost) + product::kManualPath);
  manual.font = linkFont();
  manual.link = true;
  manual.bindings.push_back({Event::Click, "Label20Click"});
}

struct DirectoryPage {
  const char* page;
  const char* title;
  const char* titlePanel;
  const char* bodyPanel;
  const char* barPanel;
  const char* exitButton;
  const char* backButton;
  const char* nextButton;
  int index;  // 1..3: Edit1, DirectoryListBox1, DriveComboBox1, StaticText1 ...
  Rect edit;
  Rect list;
  Rect drives;
  Rect explanation;
  const char* picture;  // the image's name, or nullptr
};

void directoryPage(Builder& b, const DirectoryPage& d) {
  const auto [body, bar] = b.page(d.page, d.title, d.titlePanel, d.bodyPanel, d.barPanel);
  b.exitButton(d.exitButton, bar);
  b.backButton(d.backButton, bar);
  b.nextButton(d.nextButton, bar, 2);

  const std::string n = std::to_string(d.index);
  // The placeholders stay until the page's show handler replaces them.
  b.entry("Edit" + n, ControlKind::Edit, body, d.edit, 0).text = "Edit" + n;
  const std::string list = "DirectoryListBox" + n;
  b.entry(list, ControlKind::DirectoryList, body, d.list, 1)
      .bindings.push_back({Event::Change, list + "Change"});
  b.entry("DriveComboBox" + n, ControlKind::DriveSelector, body, d.drives, 2).linkedList = list;
  b.staticText("StaticText" + n, body, d.explanation, "StaticText" + n).tabOrder = 3;
  if (d.picture != nullptr)
    b.image(d.picture, body, {8, 8, 105, 105}, "directory.jpg", 198, 161, Fit::Stretch);
}

void directoryPages(Builder& b) {
  const DirectoryPage pages[] = {
      {"Tab10ChooseInstallDir",
       "Choose installation directory",
       "Panel14",
       "Panel15",
       "Panel16",
       "Button6",
       "Button9",
       "Button8",
       1,
       {286, 7, 393, 21},
       {286, 31, 393, 273},
       {286, 311, 393, 19},
       {8, 128, 233, 225},
       "Image5"},
      {"Tab11ChooseDownloadDir",
       "Choose download directory",
       "Panel19",
       "Panel18",
       "Panel17",
       "Button10",
       "Button12",
       "Button11",
       2,
       {286, 8, 393, 21},
       {286, 32, 393, 273},
       {286, 312, 393, 19},
       {8, 120, 233, 201},
       "Image6"},
      {"Tab12ChooseCacheDirectory",
       "Choose cache directory",
       "Panel22",
       "Panel20",
       "Panel21",
       "Button13",
       "Button15",
       "Button14",
       3,
       {8, 16, 393, 21},
       {8, 40, 393, 273},
       {8, 320, 393, 19},
       {416, 16, 321, 329},
       nullptr},
  };
  for (const auto& page : pages) directoryPage(b, page);
}

void installNowPage(Builder& b) {
  const auto [body, bar] = b.page("Tab13InstallNow", "Ready to install", "Panel23", "Panel25", "Panel24");
  b.exitButton("Button16", bar);
  b.backButton("Button18", bar);
  b.image("Image7", body, {8, 8, 193, 164}, "summary.jpg", 111, 100, Fit::Stretch);
  // Placeholders until the page shows the three chosen directories.
  b.label("Label6", body, 210, 8, "Label6");
  b.label("Label7", body, 210, 32, "Label7");
  b.label("Label8", body, 210, 56, "Label8");
  b.checkBox("cbShortcut", body, {210, 80, 193, 17}, "&Create shortcut on the desktop", 0, true);
  b.button("Button17", body, {210, 112, 145, 25}, "&Install", 1, "Button17Click").forward = true;
}

// The progress pages show a white percentage above the bar. Their button bar
// stays empty while the run works; a run that fails shows its Exit button, so
// the user is never left on a page without a way out, and beside it what
// failed, in up to two lines between the bar's bevels.
struct ProgressPage {
  const char* page;
  const char* title;
  const char* titlePanel;
  const char* bodyPanel;
  const char* barPanel;
  const char* label;
  const char* progress;
  const char* failedRunExit;
  const char* failure;
};

void progressPage(Builder& b, const ProgressPage& p) {
  const auto [body, bar] = b.page(p.page, p.title, p.titlePanel, p.bodyPanel, p.barPanel);
  b.label(p.label, body, 344, 128, "0% complete").font = fontIn(White);
  b.progressBar(p.progress, body, {24, 152, 705, 25});
  b.button(p.failedRunExit, bar, {8, 8, 75, 25}, "&Exit", 0, "BtnFailedRunExitClick").visible = false;
  auto& failure = b.label(p.failure, bar, {91, 4, 647, 33}, "");
  failure.wordWrap = true;
  failure.visible = false;
}

void installReadyPage(Builder& b) {
  const auto [body, bar] =
      b.page("Tab15InstallReady", "Vorpane installed succesfully", "Panel31", "Panel29", "Panel30");
  b.label("Label9", body, 8, 24, "The installation of Vorpane is completed succesfully.");
  b.label("Label10", body, 8, 64, "What do you want to do now?");
  b.button("Button20", body, {8, 80, 145, 25}, "&Start Vorpane", 1, "Button20Click").forward = true;
  b.button("Button19", body, {9, 109, 143, 25}, "&Exit", 0, "Button19Click");
  b.image("Image8", body, {304, 24, 383, 302}, "ready.jpg", 383, 302, Fit::AutoSize);
  // The notice panel covers the picture's upper part; only the picture below
  // it (from y 249 down) stays visible.
  const std::string notice = "Panel45";
  b.panel(notice, body, {264, 16, 449, 233}, SkyBlue).tabOrder = 2;
  const std::pair<int, const char*> lines[] = {
      {10, "During the first 30 to 60 minutes"},           {26, "after installation Vorpane will not"},
      {42, "perform searches at its top capacity. "},      {59, "This time is needed to get known"},
      {75, "as a new node. You can just start"},           {92, "using Vorpane but have some patient"},
      {108, "during this initial warming up period."},     {136, "This warming up is one time only after"},
      {152, "installation. It does not occur every time"}, {169, "you start Vorpane!"},
  };
  int number = 21;
  for (const auto& [y, text] : lines) b.label("Label" + std::to_string(number++), notice, 41, y, text);
  b.label("Label11", body, {564, 336, 168, 24}, "Enjoy your Vorpane!").font = sloganFont();
}

void searchPage(Builder& b) {
  const auto [body, bar] =
      b.page("Tab20SearchDirectory", "Searching Vorpane", "Panel34", "Panel33", "Panel32");
  b.image("Image9", body, {0, 8, 160, 202}, "search.jpg", 160, 202, Fit::Unscaled);
  b.label("Label12", body, 344, 200, "0% complete").font = fontIn(White);
  b.progressBar("ProgressBar1", body, {24, 224, 705, 26});
  b.staticText("StaticText4", body, {416, 280, 313, 82}, "Explanation");
}

void startUpgradePage(Builder& b) {
  const auto [body, bar] = b.page("Tab21StartUpgrade", "Ready to upgrade", "Panel37", "Panel36", "Panel35");
  b.exitButton("Button21", bar);
  b.backButton("Button22", bar);
  b.label("Label13", body, 16, 16, "Upgrade Vorpane installed in:");
  b.entry("ComboBoxUpgrade", ControlKind::ComboBox, body, {16, 32, 457, 21}, 0);
  b.checkBox("CheckBoxUpgradeShortcut", body, {17, 72, 193, 17}, "&Create shortcut on the desktop", 1, true);
  b.button("Button23", body, {16, 109, 161, 25}, "&Upgrade", 2, "Button23Click").forward = true;
}

void upgradeReadyPage(Builder& b) {
  const auto [body, bar] =
      b.page("Tab23UpgradeReady", "Vorpane upgrade completed succesfully", "Panel43", "Panel42", "Panel41");
  b.label("Label15", body, 8, 24, "The upgrade of Vorpane is completed succesfully.");
  b.label("Label16", body, 8, 64, "What do you want to do now?");
  b.button("Button25", body, {8, 80, 145, 25}, "&Start Vorpane", 1, "Button25Click").forward = true;
  b.button("Button24", body, {9, 109, 143, 25}, "&Exit", 0, "Button19Click");
  b.label("Label17", body, {564, 336, 168, 24}, "Enjoy your Vorpane!").font = sloganFont();
}

void timers(Builder& b) {
  b.timer("Timer1", 100, "Timer1Timer");
  b.timer("Timer2", 100, "Timer2Timer");
  b.timer("Timer3", 200, "Timer3Timer");
}

FormDescription buildInstallForm() {
  FormDescription form;
  describeWindow(form);
  Builder b(form);
  frame(b);
  welcomePage(b);
  disclaimerPage(b);
  choosePage(b);
  directoryPages(b);
  installNowPage(b);
  progressPage(b, {"Tab14Installing", "Installing Vorpane", "Panel28", "Panel27", "Panel26",
                   "LblInstallComplete", "pbInstall", "BtnInstallExit", "LblInstallFailure"});
  installReadyPage(b);
  searchPage(b);
  startUpgradePage(b);
  progressPage(b, {"Tab22Upgrading", "Upgrading Vorpane", "Panel40", "Panel39", "Panel38", "lblUpgrade",
                   "pbUpgrade", "BtnUpgradeExit", "LblUpgradeFailure"});
  upgradeReadyPage(b);
  timers(b);
  form.indexControls();
  return form;
}

}  // namespace

const FormDescription& installFormDescription() {
  static const FormDescription form = buildInstallForm();
  return form;
}

}  // namespace vorpane::ui
