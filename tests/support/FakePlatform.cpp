#include "tests/support/FakePlatform.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <stdexcept>
#include <utility>

#include "platform/WindowsPath.h"

namespace vorpane::platform {

namespace fs = std::filesystem;

namespace {

using path::lowerAscii;

// A file on a disk with room for only so many bytes more.
class FillingOutputFile final : public OutputFile {
 public:
  FillingOutputFile(std::unique_ptr<OutputFile> file, std::size_t space)
      : file_(std::move(file)), space_(space) {}
  void write(const std::uint8_t* data, std::size_t size) override {
    if (size > space_) throw IoError(io::DiskFull);
    space_ -= size;
    file_->write(data, size);
  }
  void close() override { file_->close(); }

 private:
  std::unique_ptr<OutputFile> file_;
  std::size_t space_;
};

class HeldFile final : public FileHold {
 public:
  HeldFile(std::set<std::string>& held, std::vector<std::string> keys) : held_(held), keys_(std::move(keys)) {
    for (const std::string& key : keys_) held_.insert(key);
  }
  ~HeldFile() override {
    for (const std::string& key : keys_) held_.erase(key);
  }

 private:
  std::set<std::string>& held_;
  std::vector<std::string> keys_;
};

}  // namespace

// --- configuration ----------------------------------------------------------------

void FakePlatform::setShellFolder(ShellFolder folder, std::optional<std::string> path) {
  shellFolders_[folder] = std::move(path);
}

void FakePlatform::refuseReplace(const std::string& target, int ioCode, int times) {
  refusedReplacements_[pathKey(target)] = {ioCode, times};
}

void FakePlatform::failShortcuts(bool fail) { failShortcuts_ = fail; }

void FakePlatform::fillDiskAt(const std::string& windowsPath, std::size_t bytes) {
  diskSpace_[pathKey(windowsPath)] = bytes;
}

void FakePlatform::setHidden(const std::string& windowsPath, bool hidden) {
  if (hidden) {
    hidden_.insert(pathKey(windowsPath));
  } else {
    hidden_.erase(pathKey(windowsPath));
  }
}

void FakePlatform::holdFile(const std::string& windowsPath, bool held) {
  if (held) {
    heldFiles_.insert(pathKey(windowsPath));
  } else {
    heldFiles_.erase(pathKey(windowsPath));
  }
}

void FakePlatform::refuseChange(int number) {
  refusedChange_ = number;
  changesCounted_ = 0;
}

void FakePlatform::countChange() {
  if (!changeAllowed()) throw IoError(io::AccessDenied);
}

bool FakePlatform::changeAllowed() noexcept { return ++changesCounted_ != refusedChange_; }

// --- shell folders, directories and files ---------------------------------------------

std::optional<std::string> FakePlatform::shellFolder(ShellFolder folder) {
  auto found = shellFolders_.find(folder);
  return found == shellFolders_.end() ? HostFileSystem::shellFolder(folder) : found->second;
}

// A path on no mapped drive is refused as the host refuses it, before it counts.
void FakePlatform::createDirectory(const std::string& path) {
  if (hostPath(path).empty()) throw IoError(io::InvalidFilename);
  countChange();
  HostFileSystem::createDirectory(path);
}

std::unique_ptr<OutputFile> FakePlatform::createFile(const std::string& path) {
  if (hostPath(path).empty()) throw IoError(io::InvalidFilename);
  countChange();
  auto output = HostFileSystem::createFile(path);
  const auto space = diskSpace_.find(pathKey(path));
  if (space == diskSpace_.end()) return output;
  return std::make_unique<FillingOutputFile>(std::move(output), space->second);
}

std::unique_ptr<OutputFile> FakePlatform::appendFile(const std::string& path) {
  if (hostPath(path).empty()) throw IoError(io::InvalidFilename);
  countChange();
  return HostFileSystem::appendFile(path);
}

void FakePlatform::replaceFile(const std::string& source, const std::string& target) {
  auto refused = refusedReplacements_.find(pathKey(target));
  if (refused != refusedReplacements_.end() && refused->second.remaining != 0) {
    if (refused->second.remaining > 0) --refused->second.remaining;
    throw IoError(refused->second.ioCode);
  }
  if (heldFiles_.contains(pathKey(target))) throw IoError(io::AccessDenied);
  countChange();
  HostFileSystem::replaceFile(source, target);
}

// What the host would not remove anyway does not count as a change.
bool FakePlatform::removeFile(const std::string& path) noexcept {
  try {
    const fs::path host = hostPath(path);
    std::error_code ec;
    if (host.empty() || fs::is_directory(host, ec) || heldFiles_.contains(pathKey(path))) return false;
    return changeAllowed() && HostFileSystem::removeFile(path);
  } catch (...) {
    return false;
  }
}

bool FakePlatform::removeDirectory(const std::string& path) noexcept {
  try {
    const fs::path host = hostPath(path);
    std::error_code ec;
    if (host.empty() || !fs::is_directory(host, ec) || !fs::is_empty(host, ec) ||
        heldFiles_.contains(pathKey(path)))
      return false;
    return changeAllowed() && HostFileSystem::removeDirectory(path);
  } catch (...) {
    return false;
  }
}

std::string FakePlatform::entryKeyPrefix(const std::string& pattern) {
  const auto slash = pattern.find_last_of("\\/");
  const std::string folder = slash == std::string::npos ? currentDirectory() : pattern.substr(0, slash + 1);
  return pathKey(folder) + '\\';
}

// The key of each entry is its folder's key and its lower-cased name, built in one buffer.
void FakePlatform::markHidden(const std::string& pattern, std::vector<DirEntry>& entries) {
  std::string entryKey = entryKeyPrefix(pattern);
  const std::size_t folderLength = entryKey.size();
  for (DirEntry& entry : entries) {
    entryKey.resize(folderLength);
    for (char c : entry.name) entryKey += lowerAscii(c);
    if (hidden_.count(entryKey) != 0) entry.attributes |= attr::Hidden;
  }
}

std::vector<DirEntry> FakePlatform::listDirectory(const std::string& pattern) {
  std::vector<DirEntry> entries = HostFileSystem::listDirectory(pattern);
  if (!hidden_.empty()) markHidden(pattern, entries);
  return entries;
}

void FakePlatform::forEachEntry(const std::string& pattern, const EntryVisitor& visit) {
  if (hidden_.empty()) return HostFileSystem::forEachEntry(pattern, visit);
  std::string entryKey = entryKeyPrefix(pattern);
  const std::size_t folderLength = entryKey.size();
  HostFileSystem::forEachEntry(pattern, [&](const EntryView& entry) {
    entryKey.resize(folderLength);
    for (char c : entry.name) entryKey += lowerAscii(c);
    if (hidden_.count(entryKey) == 0) return visit(entry);
    visit(EntryView{entry.name, entry.attributes | attr::Hidden});
  });
}

bool FakePlatform::fileInUse(const std::string& path) { return heldFiles_.contains(pathKey(path)); }

bool FakePlatform::removeFileAtRestart(const std::string& path) noexcept {
  try {
    removalsAtRestart_.push_back(path);
    return true;
  } catch (...) {
    return false;
  }
}

bool FakePlatform::createStagingFolder(const std::string& path) {
  if (!HostFileSystem::createStagingFolder(path)) return false;
  stagingFolders_.push_back({path, elevated_});
  return true;
}

std::unique_ptr<FileHold> FakePlatform::writeHeldFile(const std::string& path,
                                                      const std::vector<std::uint8_t>& bytes) {
  std::error_code ec;
  if (fs::exists(hostPath(path), ec)) throw IoError(ioCodeFromErrno(EEXIST));
  const auto file = createFile(path);
  file->write(bytes.data(), bytes.size());
  file->close();
  const std::string folder = path::withoutTrailingBackslash(path::folderOf(path));
  return std::make_unique<HeldFile>(heldFiles_, std::vector<std::string>{pathKey(path), pathKey(folder)});
}

// --- processes, links and shortcuts ---------------------------------------------------

void FakePlatform::startWindowed(const std::string& commandLine, int showMode) {
  windowedStarts_.push_back({commandLine, showMode});
}

void FakePlatform::openLink(const std::string& target) { openedLinks_.push_back(target); }

bool FakePlatform::startWindowedAsDesktopUser(const std::string& commandLine, int showMode) {
  if (!desktopShell_) return false;
  windowedStarts_.push_back({commandLine, showMode, true});
  return true;
}

bool FakePlatform::startInFolder(const std::string& commandLine, const std::string& workingDirectory) {
  if (!changeAllowed()) return false;
  startsInFolder_.emplace_back(commandLine, workingDirectory);
  return true;
}

bool FakePlatform::waitForProcessEnd(std::uint32_t processId, int) {
  waitedProcesses_.push_back(processId);
  return true;
}

void FakePlatform::createShortcut(const ShortcutSpec& shortcut) {
  if (failShortcuts_) throw std::runtime_error("The shell link object could not be created");
  countChange();
  shortcuts_.push_back(shortcut);
  fs::path host = hostPath(shortcut.linkPath);
  if (host.empty()) return;
  std::ofstream link(host, std::ios::binary | std::ios::trunc);
  link << "Target=" << shortcut.target << "\r\n"
       << "Arguments=" << shortcut.arguments << "\r\n"
       << "Description=" << shortcut.description << "\r\n";
  // Saving failures stay silent, as with a real shell link.
}

std::optional<std::string> FakePlatform::shortcutTarget(const std::string& linkPath) {
  const fs::path host = hostPath(linkPath);
  if (host.empty()) return std::nullopt;
  std::ifstream link(host, std::ios::binary);
  std::string line;
  while (std::getline(link, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("Target=", 0) == 0) return line.substr(7);
  }
  return std::nullopt;
}

// --- the machine's registry ---------------------------------------------------------------

void FakePlatform::writeRegistryValues(const std::string& key, const std::vector<RegistryValue>& values) {
  countChange();
  auto& stored = registry_[lowerAscii(key)];
  for (const RegistryValue& value : values) {
    auto same = std::find_if(stored.begin(), stored.end(), [&](const RegistryValue& old) {
      return lowerAscii(old.name) == lowerAscii(value.name);
    });
    if (same == stored.end()) {
      stored.push_back(value);
    } else {
      *same = value;
    }
  }
}

std::optional<std::string> FakePlatform::readRegistryText(const std::string& key, const std::string& name) {
  for (const RegistryValue& value : registryValues(key))
    if (!value.number && lowerAscii(value.name) == lowerAscii(name)) return value.text;
  return std::nullopt;
}

bool FakePlatform::removeRegistryKey(const std::string& key) noexcept {
  if (!changeAllowed()) return false;
  const std::string lowered = lowerAscii(key);
  std::erase_if(registry_, [&](const auto& entry) {
    return entry.first == lowered || entry.first.rfind(lowered + "\\", 0) == 0;
  });
  return true;
}

std::vector<RegistryValue> FakePlatform::registryValues(const std::string& key) const {
  const auto found = registry_.find(lowerAscii(key));
  return found == registry_.end() ? std::vector<RegistryValue>{} : found->second;
}

bool FakePlatform::registryKeyExists(const std::string& key) const {
  return registry_.contains(lowerAscii(key));
}

}  // namespace vorpane::platform
