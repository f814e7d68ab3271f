#include "ui/FormModel.h"
#include "platform/WindowsPath.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace vorpane::ui {

namespace {

const char* kindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::Panel:
      return "Panel";
    case ControlKind::Image:
      return "Image";
    case ControlKind::Button:
      return "Button";
    case ControlKind::Label:
      return "Label";
    case ControlKind::StaticText:
      return "StaticText";
    case ControlKind::Memo:
      return "Memo";
    case ControlKind::Edit:
      return "Edit";
    case ControlKind::CheckBox:
      return "CheckBox";
    case ControlKind::ComboBox:
      return "ComboBox";
    case ControlKind::ProgressBar:
      return "ProgressBar";
    case ControlKind::DirectoryList:
      return "DirectoryList";
    case ControlKind::DriveSelector:
      return "DriveSelector";
    case ControlKind::PageControl:
      return "PageControl";
    case ControlKind::Page:
      return "Page";
    case ControlKind::Timer:
      return "Timer";
  }
  return "?";
}

using platform::path::hasDriveLetter;

// A directory list keeps its directory without a trailing backslash, except
// on a drive root, where "C:" and "C:\\" both mean "C:\".
std::string normaliseDirectory(std::string directory) {
  while (!directory.empty() && directory.back() == '\\') directory.pop_back();
  if (directory.size() == 2 && hasDriveLetter(directory)) directory += '\\';
  return directory;
}

}  // namespace

FormModel::FormModel(const FormDescription& description) : description_(description) {
  caption_ = description_.caption;
  for (const auto& c : description_.controls) {
    ControlState s;
    s.text = c.text;
    s.checked = c.checked;
    s.visible = c.visible;
    states_.emplace(c.name, std::move(s));
  }
}

// --- views and handlers ---------------------------------------------------------------

void FormModel::addView(FormView* view) {
  if (view != nullptr && std::find(views_.begin(), views_.end(), view) == views_.end())
    views_.push_back(view);
}

void FormModel::removeView(FormView* view) { std::erase(views_, view); }

void FormModel::bindHandler(const std::string& handlerName, Handler handler) {
  handlers_[handlerName] = std::move(handler);
}

void FormModel::setExceptionHandler(ExceptionHandler handler) { exceptionHandler_ = std::move(handler); }

bool FormModel::raise(const std::string& control, Event event) {
  const std::string* handlerName = nullptr;
  if (control == description_.name) {
    for (const auto& b : description_.bindings)
      if (b.event == event) handlerName = &b.handler;
  } else {
    handlerName = describe(control).handlerFor(event);
  }
  if (handlerName == nullptr) return false;
  const auto found = handlers_.find(*handlerName);
  if (found == handlers_.end() || !found->second) return false;

  // A copy, so a handler may rebind itself while it runs.
  const Handler handler = found->second;
  try {
    handler(control);
  } catch (const std::exception& error) {
    if (!exceptionHandler_) throw;
    exceptionHandler_(error);
  }
  return true;
}

// --- form -----------------------------------------------------------------------------

void FormModel::setCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  notify({}, Property::Caption);
}

// --- pages ----------------------------------------------------------------------------

int FormModel::activePageIndex() const {
  const auto& pages = description_.pages;
  const auto it = std::find(pages.begin(), pages.end(), activePage_);
  return it == pages.end() ? -1 : static_cast<int>(it - pages.begin());
}

void FormModel::setActivePage(const std::string& page) {
  const auto& pages = description_.pages;
  if (std::find(pages.begin(), pages.end(), page) == pages.end())
    throw std::logic_error("form has no page named " + page);
  activePage_ = page;
  for (FormView* view : std::vector<FormView*>(views_)) view->activePageChanged(page);
  // Activating a page is what starts its work, so its show handler runs on
  // every activation, also when the page was already active.
  raise(page, Event::Show);
}

// --- controls -------------------------------------------------------------------------

const std::string& FormModel::text(const std::string& control) const { return state(control).text; }

void FormModel::setText(const std::string& control, const std::string& text) {
  const ControlKind kind = describe(control).kind;
  ControlState& s = state(control);
  s.allSelected = false;  // typing over a selection ends it, also with the same letter
  if (s.text == text) return;
  s.text = text;
  notify(control, Property::Text);
  if (kind == ControlKind::Edit || kind == ControlKind::Memo) raise(control, Event::Change);
}

bool FormModel::checked(const std::string& control) const {
  return state(control, ControlKind::CheckBox).checked;
}

void FormModel::setChecked(const std::string& control, bool checked) {
  ControlState& s = state(control, ControlKind::CheckBox);
  if (s.checked == checked) return;
  s.checked = checked;
  notify(control, Property::Checked);
}

int FormModel::position(const std::string& control) const {
  return state(control, ControlKind::ProgressBar).position;
}

void FormModel::setPosition(const std::string& control, int position) {
  ControlState& s = state(control, ControlKind::ProgressBar);
  const int clamped = std::clamp(position, 0, s.maximum);
  if (s.position == clamped) return;
  s.position = clamped;
  notify(control, Property::Position);
}

int FormModel::maximum(const std::string& control) const {
  return state(control, ControlKind::ProgressBar).maximum;
}

void FormModel::setMaximum(const std::string& control, int maximum) {
  ControlState& s = state(control, ControlKind::ProgressBar);
  if (maximum < 0) throw std::out_of_range("progress maximum below zero for " + control);
  if (s.maximum != maximum) {
    s.maximum = maximum;
    notify(control, Property::Maximum);
  }
  if (s.position > maximum) {
    s.position = maximum;
    notify(control, Property::Position);
  }
}

const std::vector<std::string>& FormModel::items(const std::string& control) const {
  return state(control, ControlKind::ComboBox).items;
}

void FormModel::clearItems(const std::string& control) {
  ControlState& s = state(control, ControlKind::ComboBox);
  s.items.clear();
  notify(control, Property::Items);
  selectItem(control, s, -1);
}

void FormModel::addItem(const std::string& control, const std::string& item) {
  state(control, ControlKind::ComboBox).items.push_back(item);
  notify(control, Property::Items);
}

int FormModel::itemIndex(const std::string& control) const {
  return state(control, ControlKind::ComboBox).itemIndex;
}

void FormModel::setItemIndex(const std::string& control, int index) {
  ControlState& s = state(control, ControlKind::ComboBox);
  // A drop-down list selects nothing for an index it does not have.
  if (index < 0 || index >= static_cast<int>(s.items.size())) index = -1;
  selectItem(control, s, index);
}

// A select-only box shows the selected item as its text.
void FormModel::selectItem(const std::string& control, ControlState& s, int index) {
  if (s.itemIndex != index) {
    s.itemIndex = index;
    notify(control, Property::ItemIndex);
  }
  const std::string selected = index < 0 ? std::string() : s.items[static_cast<std::size_t>(index)];
  if (s.text != selected) {
    s.text = selected;
    notify(control, Property::Text);
  }
}

const std::string& FormModel::directory(const std::string& control) const {
  return state(control, ControlKind::DirectoryList).directory;
}

void FormModel::setDirectory(const std::string& control, const std::string& directory) {
  ControlState& s = state(control, ControlKind::DirectoryList);
  s.directory = normaliseDirectory(directory);
  notify(control, Property::Directory);
  if (hasDriveLetter(s.directory)) {
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(s.directory[0])));
    for (const auto& c : description_.controls)
      if (c.kind == ControlKind::DriveSelector && c.linkedList == control) {
        ControlState& selector = state(c.name);
        if (selector.drive != letter) {
          selector.drive = letter;
          notify(c.name, Property::Drive);
        }
      }
  }
  // Every setting counts as a change, also to the same directory: a page that
  // proposes its directory again refreshes whatever follows the list.
  raise(control, Event::Change);
}

char FormModel::drive(const std::string& control) const {
  return state(control, ControlKind::DriveSelector).drive;
}

void FormModel::setDrive(const std::string& control, char letter) {
  const std::string& list = describe(control).linkedList;
  ControlState& s = state(control, ControlKind::DriveSelector);
  const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  if (upper < 'A' || upper > 'Z') throw std::out_of_range(std::string("no drive letter: ") + letter);
  if (s.drive != upper) {
    s.drive = upper;
    notify(control, Property::Drive);
  }
  if (!list.empty()) setDirectory(list, std::string{upper, ':', '\\'});
}

void FormModel::setFocus(const std::string& control) {
  if (!control.empty()) describe(control);
  if (focus_ == control) return;
  focus_ = control;
  for (FormView* view : std::vector<FormView*>(views_)) view->focusChanged(control);
}

bool FormModel::allSelected(const std::string& edit) const {
  return state(edit, ControlKind::Edit).allSelected;
}

void FormModel::selectAll(const std::string& edit) {
  ControlState& s = state(edit, ControlKind::Edit);
  setFocus(edit);
  s.allSelected = true;
  notify(edit, Property::Selection);
}

std::string FormModel::defaultButton() const {
  if (isPressable(focus_)) return focus_;
  const std::string forward = description_.forwardButtonOf(activePage_);
  return isPressable(forward) ? forward : std::string();
}

// A button the user can press now: shown, and on the active page.
bool FormModel::isPressable(const std::string& button) const {
  if (button.empty() || describe(button).kind != ControlKind::Button || !visible(button)) return false;
  const std::string page = description_.pageOf(button);
  return page.empty() || page == activePage_;
}

bool FormModel::timerEnabled(const std::string& timer) const {
  return state(timer, ControlKind::Timer).timerEnabled;
}

void FormModel::setTimerEnabled(const std::string& timer, bool enabled) {
  ControlState& s = state(timer, ControlKind::Timer);
  if (s.timerEnabled == enabled) return;
  s.timerEnabled = enabled;
  notify(timer, Property::Timer);
}

// --- lookups --------------------------------------------------------------------------

const ControlDescription& FormModel::describe(const std::string& control) const {
  const ControlDescription* c = description_.find(control);
  if (c == nullptr) throw std::logic_error("form has no control named " + control);
  return *c;
}

FormModel::ControlState& FormModel::state(const std::string& control) {
  const auto it = states_.find(control);
  if (it == states_.end()) throw std::logic_error("form has no control named " + control);
  return it->second;
}

const FormModel::ControlState& FormModel::state(const std::string& control) const {
  const auto it = states_.find(control);
  if (it == states_.end()) throw std::logic_error("form has no control named " + control);
  return it->second;
}

FormModel::ControlState& FormModel::state(const std::string& control, ControlKind kind) {
  const ControlDescription& c = describe(control);
  if (c.kind != kind)
    throw std::logic_error(control + " is a " + kindName(c.kind) + ", not a " + kindName(kind));
  return state(control);
}

const FormModel::ControlState& FormModel::state(const std::string& control, ControlKind kind) const {
  const ControlDescription& c = describe(control);
  if (c.kind != kind)
    throw std::logic_error(control + " is a " + kindName(c.kind) + ", not a " + kindName(kind));
  return state(control);
}

bool FormModel::visible(const std::string& control) const { return state(control).visible; }

void FormModel::setVisible(const std::string& control, bool visible) {
  ControlState& s = state(control);
  if (s.visible == visible) return;
  s.visible = visible;
  notify(control, Property::Visible);
}

void FormModel::notify(const std::string& control, Property property) {
  // By index and without a copy: a run tells its views thousands of times, and
  // a view that detaches itself while it is told only shortens the list.
  for (std::size_t i = 0; i < views_.size(); ++i) views_[i]->modelChanged(control, property);
}

}  // namespace vorpane::ui
