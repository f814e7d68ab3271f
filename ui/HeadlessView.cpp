#include "ui/HeadlessView.h"

#include <cctype>
#include <stdexcept>

namespace vorpane::ui {

HeadlessView::HeadlessView(FormModel& model) : model_(model) { model_.addView(this); }

HeadlessView::HeadlessView(FormModel& model, platform::Platform& platform)
    : model_(model), platform_(&platform) {
  model_.addView(this);
}

HeadlessView::~HeadlessView() { model_.removeView(this); }

void HeadlessView::clearRecords() {
  changes_.clear();
  pageActivations_.clear();
  focusChanges_.clear();
}

// --- what a user does ------------------------------------------------------------------

void HeadlessView::click(const std::string& control) {
  const ControlDescription& c = reachable(control);
  if (c.kind == ControlKind::CheckBox) model_.setChecked(control, !model_.checked(control));
  model_.raise(control, Event::Click);
}

void HeadlessView::type(const std::string& control, const std::string& text) {
  const ControlDescription& c = reachable(control, ControlKind::Edit);
  model_.setFocus(control);
  for (const char ch : text) {
    const char typed = c.upperCase ? static_cast<char>(std::toupper(static_cast<unsigned char>(ch))) : ch;
    const std::string kept = model_.allSelected(control) ? std::string() : model_.text(control);
    model_.setText(control, kept + typed);
  }
}

void HeadlessView::pressEnter() {
  const std::string button = model_.defaultButton();
  if (!button.empty()) click(button);
}

void HeadlessView::clearText(const std::string& control) {
  reachable(control, ControlKind::Edit);
  model_.setFocus(control);
  model_.setText(control, {});
}

void HeadlessView::pickDrive(const std::string& control, char letter) {
  reachable(control, ControlKind::DriveSelector);
  const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  if (platform_ == nullptr) return model_.setDrive(control, upper);
  for (const auto& drive : machineDrives(*platform_))
    if (drive.letter == upper) return model_.setDrive(control, upper);
  throw std::logic_error(std::string("the drive list offers no drive ") + upper + ":");
}

void HeadlessView::pickItem(const std::string& control, int index) {
  reachable(control, ControlKind::ComboBox);
  if (index < 0 || index >= static_cast<int>(model_.items(control).size()))
    throw std::logic_error(control + " has no item " + std::to_string(index));
  model_.setItemIndex(control, index);
  model_.raise(control, Event::Change);
}

void HeadlessView::openRow(const std::string& list, const std::string& rowName) {
  reachable(list, ControlKind::DirectoryList);
  for (const auto& row : rows(list)) {
    if (platform().compareTextInsensitive(row.name, rowName) != 0) continue;
    // Entering the directory already shown changes nothing, as in a real list.
    if (row.glyph != FolderGlyph::Current) model_.setDirectory(list, row.path);
    return;
  }
  throw std::logic_error(list + " shows no row " + rowName);
}

bool HeadlessView::fireTimer(const std::string& timer) {
  if (!model_.timerEnabled(timer)) return false;
  model_.raise(timer, Event::Timer);
  return true;
}

// --- what the user sees ----------------------------------------------------------------

ControlSnapshot HeadlessView::snapshot(const std::string& control) const {
  const ControlDescription* c = model_.description().find(control);
  if (c == nullptr) throw std::logic_error("form has no control named " + control);
  ControlSnapshot s;
  s.name = control;
  s.kind = c->kind;
  s.text = model_.text(control);
  switch (c->kind) {
    case ControlKind::CheckBox:
      s.checked = model_.checked(control);
      break;
    case ControlKind::ProgressBar:
      s.position = model_.position(control);
      s.maximum = model_.maximum(control);
      break;
    case ControlKind::ComboBox:
      s.items = model_.items(control);
      s.itemIndex = model_.itemIndex(control);
      break;
    case ControlKind::DirectoryList:
      s.directory = model_.directory(control);
      break;
    case ControlKind::DriveSelector:
      s.drive = model_.drive(control);
      break;
    case ControlKind::Timer:
      s.timerEnabled = model_.timerEnabled(control);
      break;
    default:
      break;
  }
  return s;
}

std::vector<ControlSnapshot> HeadlessView::snapshotAll() const {
  std::vector<ControlSnapshot> all;
  for (const auto& c : model_.description().controls) all.push_back(snapshot(c.name));
  return all;
}

std::vector<DirectoryRow> HeadlessView::rows(const std::string& list) const {
  return directoryRows(platform(), model_.directory(list));
}

std::vector<DriveEntry> HeadlessView::drives() const { return machineDrives(platform()); }

// --- FormView --------------------------------------------------------------------------

void HeadlessView::modelChanged(const std::string& control, Property property) {
  changes_.push_back({control, property});
}

void HeadlessView::activePageChanged(const std::string& page) { pageActivations_.push_back(page); }

void HeadlessView::focusChanged(const std::string& control) { focusChanges_.push_back(control); }

platform::Platform& HeadlessView::platform() const {
  if (platform_ == nullptr) throw std::logic_error("this headless view was made without a platform");
  return *platform_;
}

// --- reach ------------------------------------------------------------------------------

const ControlDescription& HeadlessView::reachable(const std::string& control) const {
  const ControlDescription* c = model_.description().find(control);
  if (c == nullptr) throw std::logic_error("form has no control named " + control);
  if (!model_.visible(control)) throw std::logic_error(control + " is hidden");
  const std::string page = model_.description().pageOf(control);
  if (!page.empty() && page != model_.activePage())
    throw std::logic_error(control + " lies on " + page + ", but the active page is " +
                           (model_.activePage().empty() ? "none" : model_.activePage()));
  return *c;
}

const ControlDescription& HeadlessView::reachable(const std::string& control, ControlKind kind) const {
  const ControlDescription& c = reachable(control);
  if (c.kind != kind) throw std::logic_error(control + " cannot take this action");
  return c;
}

}  // namespace vorpane::ui
