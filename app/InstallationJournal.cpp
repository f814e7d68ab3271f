#include "app/InstallationJournal.h"

namespace vorpane::app {

std::vector<std::string> InstallationJournal::rollBack() noexcept {
  std::vector<std::string> left;
  for (auto entry = entries_.rbegin(); entry != entries_.rend(); ++entry) {
    if (!undo(*entry)) {
      try {
        left.push_back(entry->path);
      } catch (...) {
        // Out of memory while listing what stays: the removal itself went on.
      }
    }
  }
  entries_.clear();
  return left;
}

bool InstallationJournal::undo(const Entry& entry) noexcept {
  try {
    switch (entry.kind) {
      case Kind::File:
        return platform_.removeFile(entry.path) || !platform_.fileExists(entry.path);
      case Kind::Directory:
        // Something put there meanwhile (by the user, or a file that could not
        // be removed and is reported itself) keeps the directory.
        platform_.removeDirectory(entry.path);
        return true;
      case Kind::RegistryKey:
        return platform_.removeRegistryKey(entry.path);
    }
    return true;
  } catch (...) {
    return false;
  }
}

void JournalingProgress::directoryCreated(const std::string& path) {
  journal_.directoryCreated(path);
  ForwardingProgress::directoryCreated(path);
}

void JournalingProgress::fileWritten(const std::string& path, std::uint64_t size, bool isNew) {
  if (isNew) journal_.fileCreated(path);
  ForwardingProgress::fileWritten(path, size, isNew);
}

void JournalingProgress::shortcutCreated(const std::string& linkPath, const std::string& target, bool isNew) {
  if (isNew) journal_.fileCreated(linkPath);
  ForwardingProgress::shortcutCreated(linkPath, target, isNew);
}

void JournalingProgress::registryEntryWritten(const std::string& key, bool isNew) {
  if (isNew) journal_.registryKeyCreated(key);
  ForwardingProgress::registryEntryWritten(key, isNew);
}

}  // namespace vorpane::app
