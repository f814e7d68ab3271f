#pragma once
// What an installation has made so far, from the directory pages to the last
// step, so that a failure can take it all back: a user is left either with a
// whole installation or with their disk as it was, never with half of one.
// Only what this installation made is recorded; a file or shortcut that was
// there before is never removed, and a directory only when it is empty again.

#include <string>
#include <vector>

#include "app/RunProgress.h"
#include "platform/Platform.h"

namespace vorpane::app {

class InstallationJournal {
 public:
  explicit InstallationJournal(platform::Platform& platform) : platform_(platform) {}

  void directoryCreated(const std::string& path) { entries_.push_back({Kind::Directory, path}); }
  void fileCreated(const std::string& path) { entries_.push_back({Kind::File, path}); }
  void registryKeyCreated(const std::string& key) { entries_.push_back({Kind::RegistryKey, key}); }
  bool empty() const { return entries_.empty(); }

  // Undoes the entries, newest first. Returns the files and registry keys that
  // could not be removed; directories that still hold something stay without
  // a word. The journal is empty afterwards.
  std::vector<std::string> rollBack() noexcept;
  // The installation stands: nothing is to be undone any more.
  void commit() { entries_.clear(); }

 private:
  enum class Kind { Directory, File, RegistryKey };
  struct Entry {
    Kind kind;
    std::string path;
  };
  bool undo(const Entry& entry) noexcept;

  platform::Platform& platform_;
  std::vector<Entry> entries_;
};

// Passes a run's progress on and records in the journal what the run made anew.
class JournalingProgress final : public ForwardingProgress {
 public:
  JournalingProgress(InstallationJournal& journal, RunProgress& next)
      : ForwardingProgress(next), journal_(journal) {}

  void directoryCreated(const std::string& path) override;
  void fileWritten(const std::string& path, std::uint64_t size, bool isNew) override;
  void shortcutCreated(const std::string& linkPath, const std::string& target, bool isNew) override;
  void registryEntryWritten(const std::string& key, bool isNew) override;

 private:
  InstallationJournal& journal_;
};

}  // namespace vorpane::app
