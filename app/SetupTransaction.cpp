#include "app/SetupTransaction.h"

#include <algorithm>
#include <array>

#include "app/ErrorDisplay.h"
#include "platform/Folders.h"
#include "product/ExitCodes.h"

namespace vorpane::app {

namespace {

// The most copies of one file that may lie beside it from runs that ended
// before they could remove theirs; a name is always found well before.
constexpr int kKeptCopyNames = 100;

void copyFile(platform::Platform& platform, const std::string& from, const std::string& to) {
  const auto input = platform.openFile(from);
  const auto output = platform.createFile(to);
  std::array<std::uint8_t, 65536> buffer;
  while (const std::size_t count = input->read(buffer.data(), buffer.size()))
    output->write(buffer.data(), count);
  output->close();
}

}  // namespace

SetupTransaction::~SetupTransaction() { rollBack(); }

void SetupTransaction::log(const std::string& text) {
  if (log_ != nullptr) log_->write(text);
}

void SetupTransaction::note(const std::string& text) noexcept {
  try {
    log(text);
  } catch (...) {
    // A log that fails while a setup is taken back must not stop the rollback.
  }
}

void SetupTransaction::directoryCreated(const std::string& path) {
  changes_.push_back({Kind::Directory, path, {}});
  log("Created directory " + path);
}

void SetupTransaction::aboutToWrite(const std::string& path) {
  const std::string kept = platform_.fileExists(path) ? keepAside(path) : std::string();
  changes_.push_back({Kind::File, path, kept});
  if (!kept.empty()) log("Kept " + path + " aside as " + kept);
}

// Beside the file, so that putting it back is a rename on the same disk.
std::string SetupTransaction::keepAside(const std::string& path) {
  for (int number = 1; number <= kKeptCopyNames; ++number) {
    const std::string kept = path + (number == 1 ? ".kept" : ".kept" + std::to_string(number));
    if (platform_.fileExists(kept)) continue;
    try {
      copyFile(platform_, path, kept);
    } catch (const platform::IoError& error) {
      platform_.removeFile(kept);
      throw platform::IoError(error.code(), path);
    }
    return kept;
  }
  throw platform::IoError(platform::io::AccessDenied, path);
}

SetupTransaction::Change* SetupTransaction::pendingWrite(const std::string& path) {
  const auto found = std::find_if(changes_.rbegin(), changes_.rend(), [&path](const Change& change) {
    return change.kind == Kind::File && change.path == path;
  });
  return found == changes_.rend() ? nullptr : &*found;
}

bool SetupTransaction::markWritten(const std::string& path) {
  Change* change = pendingWrite(path);
  if (change == nullptr) return false;
  change->written = true;
  return !change->keptCopy.empty();
}

void SetupTransaction::fileWritten(const std::string& path, std::uint64_t size) {
  const bool replaced = markWritten(path);
  log((replaced ? "Replaced " : "Wrote ") + path + " (" + std::to_string(size) + " bytes)");
}

void SetupTransaction::shortcutCreated(const std::string& linkPath, const std::string& target) {
  const bool replaced = markWritten(linkPath);
  log((replaced ? "Replaced shortcut " : "Created shortcut ") + linkPath + " to " + target);
}

void SetupTransaction::shortcutMissing(const std::string& linkPath) {
  if (Change* change = pendingWrite(linkPath)) {
    // The save may have removed what was there: the kept copy goes back.
    change->written = true;
    if (!change->keptCopy.empty() && !putBack(*change)) leftBehind_.push_back(linkPath);
    changes_.erase(changes_.begin() + (change - changes_.data()));
  }
  log("Skipped: the shortcut " + linkPath + ": the shell did not save it");
}

void SetupTransaction::registryEntryWritten(const std::string& key, bool isNew) {
  // An entry brought up to date is the setup's last step: nothing can fail
  // after it that would need the old values back.
  if (isNew) changes_.push_back({Kind::RegistryKey, key, {}});
  log((isNew ? "Created registry entry " : "Updated registry entry ") + key);
}

void SetupTransaction::stepSkipped(const std::string& what, const std::exception& error) {
  if (log_ != nullptr) log_->writeFailure("Skipped: " + what, error);
}

int SetupTransaction::commit(const std::vector<std::string>& directoriesInUse) {
  for (auto change = changes_.rbegin(); change != changes_.rend(); ++change) {
    if (!change->keptCopy.empty() && !platform_.removeFile(change->keptCopy))
      log("Could not remove the kept copy " + change->keptCopy);
    if (change->kind != Kind::Directory) continue;
    const bool inUse = std::any_of(
        directoriesInUse.begin(), directoriesInUse.end(),
        [&](const std::string& used) { return platform::sameFolder(platform_, used, change->path); });
    if (!inUse && platform_.removeDirectory(change->path))
      log("Removed the unused directory " + change->path);
  }
  changes_.clear();
  leftBehind_.clear();
  message_.clear();
  exitCode_ = product::exitcode::Done;
  return exitCode_;
}

int SetupTransaction::abandon(SetupOutcome outcome, const std::exception& error) {
  message_ = error.what();
  const auto* io = dynamic_cast<const platform::IoError*>(&error);
  if (io != nullptr && !platform::hasOwnMessage(io->code())) {
    const std::string system = platform_.systemErrorText(io->code());
    if (!system.empty()) message_ += " (" + system + ")";
  }
  if (log_ != nullptr) log_->writeFailure(outcome == SetupOutcome::Refused ? "Refused" : "Failed", error);
  rollBack();
  exitCode_ = outcome == SetupOutcome::Refused ? product::exitcode::Refused : product::exitcode::RunFailed;
  return exitCode_;
}

std::string SetupTransaction::failureSummary() const {
  const std::string failure = withClosingPeriod(message_);
  if (leftBehind_.empty()) return failure + " Nothing was changed.";
  std::string stayed;
  for (const auto& path : leftBehind_) stayed += (stayed.empty() ? "" : ", ") + path;
  return failure + " These could not be removed: " + stayed;
}

void SetupTransaction::rollBack() noexcept {
  if (changes_.empty()) return;
  note("Taking back what was changed");
  leftBehind_.clear();
  for (auto change = changes_.rbegin(); change != changes_.rend(); ++change) {
    if (undo(*change)) continue;
    try {
      leftBehind_.push_back(change->keptCopy.empty() ? change->path
                                                     : change->path + " (kept as " + change->keptCopy + ")");
    } catch (...) {
      // Out of memory while listing what stays: the rollback itself goes on.
    }
    note("Could not take back " + change->path);
  }
  changes_.clear();
}

bool SetupTransaction::undo(const Change& change) noexcept {
  try {
    switch (change.kind) {
      case Kind::File:
        if (!change.keptCopy.empty()) return putBack(change);
        if (!platform_.fileExists(change.path)) return true;
        if (!platform_.removeFile(change.path)) return false;
        note("Removed " + change.path);
        return true;
      case Kind::Directory:
        // Something put there meanwhile (by the user, or a file that could not
        // be removed and is reported itself) keeps the directory.
        if (platform_.removeDirectory(change.path))
          note("Removed directory " + change.path);
        else if (platform_.directoryExists(change.path))
          note("Kept directory " + change.path + ": it holds what the setup did not put there");
        return true;
      case Kind::RegistryKey:
        if (!platform_.removeRegistryKey(change.path)) return false;
        note("Removed registry entry " + change.path);
        return true;
    }
    return true;
  } catch (...) {
    return false;
  }
}

// A file that was never replaced is still the one kept aside: only the copy
// goes. Otherwise the copy takes its place again, byte for byte.
bool SetupTransaction::putBack(const Change& change) noexcept {
  try {
    if (!change.written) {
      platform_.removeFile(change.keptCopy);
      return true;
    }
    platform_.replaceFile(change.keptCopy, change.path);
    note("Put back " + change.path);
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace vorpane::app
