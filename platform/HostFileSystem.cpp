#include "platform/HostFileSystem.h"
#include "platform/WindowsPath.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <stdexcept>
#include <string_view>
#include <thread>
#include <utility>

#ifndef _WIN32
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#endif

namespace vorpane::platform {

namespace fs = std::filesystem;

namespace {

// Windows error numbers that have no name in the runtime's table but are what
// the same failure reports there.
constexpr int kNotSameDevice = 17;
constexpr int kGeneralFailure = 31;
constexpr int kSharingViolation = 32;
constexpr int kInvalidParameter = 87;
constexpr int kDirectoryNotEmpty = 145;
constexpr int kAlreadyExists = 183;
constexpr int kFilenameTooLong = 206;
constexpr int kInvalidName = 123;
constexpr int kDeviceError = 1117;

// Files are written in buffers this large: a 2 MB program in 1024-byte pieces
// then costs about ten system calls.
constexpr std::size_t kFileBufferSize = 256 * 1024;

using path::lowerAscii;

bool isSeparator(char c) { return c == '\\' || c == '/'; }

bool isDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

char upperDrive(char letter) {
  return (letter >= 'a' && letter <= 'z') ? static_cast<char>(letter - 32) : letter;
}

// A directory's path without its trailing backslash, but a drive's root with it.
std::string directoryForm(std::string path) {
  if (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

// Wildcard match without regard to case: '*' any run of characters, '?' any one.
bool wildcardMatch(std::string_view pattern, std::string_view name) {
  std::size_t p = 0, n = 0;
  std::size_t starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || lowerAscii(pattern[p]) == lowerAscii(name[n]))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

// Windows matches a name without an extension as if it ended in a dot, which is
// why "*.*" finds every name and "*." finds the names without an extension.
bool matchesWindowsPattern(std::string_view pattern, std::string_view name) {
  if (pattern == "*" || pattern == "*.*") return true;  // the common case, without the work
  if (wildcardMatch(pattern, name)) return true;
  return name.find('.') == std::string_view::npos && wildcardMatch(pattern, std::string(name) + ".");
}

// Orders names as the host's listings come out: without regard to case, then
// by the exact bytes so that the order is total.
bool nameBefore(const std::string& a, const std::string& b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const auto ca = static_cast<unsigned char>(lowerAscii(a[i]));
    const auto cb = static_cast<unsigned char>(lowerAscii(b[i]));
    if (ca != cb) return ca < cb;
  }
  return a.size() != b.size() ? a.size() < b.size() : a < b;
}

// How closely a listing looks at each entry: its kind comes with the name, the
// read-only bit only from a look at the entry itself.
enum class Detail { Kind, KindAndReadOnly };

#ifndef _WIN32
struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};
using HostDirectory = std::unique_ptr<DIR, DirCloser>;

// A folder's entry as Windows would report it: a link to a folder is a folder,
// and links of either kind carry the reparse-point bit; read-only follows the
// owner's write permission. A link whose target is gone is a plain file.
std::uint32_t hostAttributes(int folder, const dirent& entry, Detail detail) {
  if (detail == Detail::Kind && entry.d_type == DT_DIR) return attr::Directory;
  if (detail == Detail::Kind && entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return attr::Archive;
  bool link = entry.d_type == DT_LNK;
  struct stat info {};
  if (entry.d_type == DT_UNKNOWN && fstatat(folder, entry.d_name, &info, AT_SYMLINK_NOFOLLOW) == 0) {
    link = S_ISLNK(info.st_mode);
  }
  const std::uint32_t reparse = link ? attr::ReparsePoint : 0;
  if (fstatat(folder, entry.d_name, &info, 0) != 0) return attr::Archive | reparse;
  std::uint32_t attributes = S_ISDIR(info.st_mode) ? attr::Directory : attr::Archive;
  if (detail == Detail::KindAndReadOnly && (info.st_mode & S_IWUSR) == 0) attributes |= attr::ReadOnly;
  return attributes | reparse;
}

// The entries of a host folder whose names match the pattern, without "." and
// ".."; false when the folder cannot be read. Only matching entries are looked
// at more closely, so a search for one name costs one pass over the names.
bool readHostFolder(const fs::path& folder, std::string_view pattern, Detail detail,
                    std::vector<DirEntry>& entries) {
  HostDirectory dir(opendir(folder.c_str()));
  if (!dir) return false;
  const int fd = dirfd(dir.get());
  while (const dirent* entry = readdir(dir.get())) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (matchesWindowsPattern(pattern, name)) {
      entries.push_back({std::string(name), hostAttributes(fd, *entry, detail)});
    }
  }
  return true;
}
#else
bool readHostFolder(const fs::path& folder, std::string_view pattern, Detail detail,
                    std::vector<DirEntry>& entries) {
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  if (ec) return false;
  for (const auto& entry : it) {
    std::string name = entry.path().filename().string();
    if (!matchesWindowsPattern(pattern, name)) continue;
    const fs::file_status status = fs::status(entry.path(), ec);
    std::uint32_t attributes = fs::is_directory(status) ? attr::Directory : attr::Archive;
    if (detail == Detail::KindAndReadOnly &&
        (status.permissions() & fs::perms::owner_write) == fs::perms::none) {
      attributes |= attr::ReadOnly;
    }
    if (entry.is_symlink(ec)) attributes |= attr::ReparsePoint;
    entries.push_back({std::move(name), attributes});
  }
  return true;
}
#endif

std::vector<std::string> splitPath(std::string_view text) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : text) {
    if (isSeparator(c)) {
      if (!part.empty()) parts.push_back(std::move(part));
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(std::move(part));
  return parts;
}

// The entry of a host folder whose name equals the given one but for letter
// case; the smallest such name when there are several, so lookups are stable.
std::optional<fs::path> findInsensitive(const fs::path& folder, const std::string& name) {
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  if (ec) return std::nullopt;
  const std::string wanted = lowerAscii(name);
  std::optional<std::string> best;
  for (const auto& entry : it) {
    std::string candidate = entry.path().filename().string();
    if (lowerAscii(candidate) == wanted && (!best || candidate < *best)) best = std::move(candidate);
  }
  if (!best) return std::nullopt;
  return folder / *best;
}

// Collects small writes in its own buffer and hands the runtime whole buffers
// (the runtime's own buffer size cannot be set portably).
class HostOutputFile final : public OutputFile {
 public:
  explicit HostOutputFile(std::FILE* file) : file_(file), buffer_(kFileBufferSize) {
    std::setvbuf(file_, nullptr, _IONBF, 0);
  }
  ~HostOutputFile() override {
    if (file_ != nullptr) std::fclose(file_);  // unwritten bytes are dropped, as promised
  }
  HostOutputFile(const HostOutputFile&) = delete;
  HostOutputFile& operator=(const HostOutputFile&) = delete;

  void write(const std::uint8_t* data, std::size_t size) override {
    if (file_ == nullptr) throw IoError(io::FileNotOpen);
    if (used_ + size > buffer_.size()) flushBuffer();
    if (size >= buffer_.size()) {
      writeThrough(data, size);
    } else {
      std::memcpy(buffer_.data() + used_, data, size);
      used_ += size;
    }
  }

  void flush() override {
    if (file_ != nullptr) flushBuffer();
  }

  void close() override {
    if (file_ == nullptr) throw IoError(io::FileNotOpen);
    int error = 0;
    try {
      flushBuffer();
    } catch (const IoError&) {
      std::fclose(std::exchange(file_, nullptr));
      throw;
    }
    errno = 0;
    if (std::fclose(std::exchange(file_, nullptr)) != 0) error = errno != 0 ? errno : EIO;
    if (error != 0) throw IoError(ioCodeFromErrno(error));
  }

 private:
  void flushBuffer() {
    const std::size_t pending = std::exchange(used_, 0);
    if (pending > 0) writeThrough(buffer_.data(), pending);
  }

  void writeThrough(const std::uint8_t* data, std::size_t size) {
    errno = 0;
    if (std::fwrite(data, 1, size, file_) != size) throw IoError(ioCodeFromErrno(errno != 0 ? errno : EIO));
  }

  std::FILE* file_;
  std::vector<std::uint8_t> buffer_;
  std::size_t used_ = 0;
};

class HostInputFile final : public InputFile {
 public:
  explicit HostInputFile(std::FILE* file) : file_(file) {}
  ~HostInputFile() override { std::fclose(file_); }
  HostInputFile(const HostInputFile&) = delete;
  HostInputFile& operator=(const HostInputFile&) = delete;

  std::size_t read(std::uint8_t* data, std::size_t size) override {
    errno = 0;
    std::size_t got = std::fread(data, 1, size, file_);
    if (got < size && std::ferror(file_)) throw IoError(ioCodeFromErrno(errno));
    return got;
  }

 private:
  std::FILE* file_;
};

}  // namespace

int ioCodeFromErrno(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return io::InvalidFilename;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
#ifdef ETXTBSY
    case ETXTBSY:  // a running program
#endif
      return io::AccessDenied;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
    case EFBIG:
      return io::DiskFull;
    case EMFILE:
    case ENFILE:
      return io::TooManyOpenFiles;
    case EEXIST:
      return kAlreadyExists;
    case ENOTEMPTY:
      return kDirectoryNotEmpty;
    case ENAMETOOLONG:
      return kFilenameTooLong;
    case EXDEV:
      return kNotSameDevice;
    case EBUSY:
      return kSharingViolation;
    case EINVAL:
      return kInvalidParameter;
    case EIO:
      return kDeviceError;
    default:
      return kGeneralFailure;
  }
}

HostFileSystem::HostFileSystem() : guidRandom_(std::random_device{}()) {}

// --- configuration ----------------------------------------------------------------

void HostFileSystem::mapDrive(char letter, const fs::path& hostFolder, DriveType type) {
  drives_[upperDrive(letter)] = Drive{hostFolder, type};
}

void HostFileSystem::unmapDrive(char letter) { drives_.erase(upperDrive(letter)); }

// A letter that is not mapped becomes a drive of that type without a medium.
void HostFileSystem::setDriveType(char letter, DriveType type) { drives_[upperDrive(letter)].type = type; }

void HostFileSystem::setCurrentDirectory(const std::string& path) { currentDirectory_ = path; }

void HostFileSystem::setNow(const LocalDateTime& now) { now_ = now; }

void HostFileSystem::seedRandom(std::uint32_t seed) { random_.seed(seed); }

void HostFileSystem::setGuid(const Guid& guid) { guid_ = guid; }

// --- paths ---------------------------------------------------------------------------

// Relative paths are taken against the current directory, "\dir" against the
// current drive's root; "C:dir" counts as "C:\dir".
std::optional<HostFileSystem::WindowsPath> HostFileSystem::parse(const std::string& windowsPath) const {
  std::string full = windowsPath;
  if (full.size() >= 2 && isSeparator(full[0]) && isSeparator(full[1])) return std::nullopt;  // network path
  if (full.size() < 2 || full[1] != ':') {
    if (!full.empty() && isSeparator(full[0])) {
      full = currentDirectory_.substr(0, 2) + full;
    } else {
      full = currentDirectory_ + "\\" + full;
    }
  }
  if (full.size() < 2 || full[1] != ':' || !isDriveLetter(full[0])) return std::nullopt;
  WindowsPath path;
  path.drive = upperDrive(full[0]);
  for (std::string& part : splitPath(std::string_view(full).substr(2))) {
    if (part == ".") continue;
    if (part == "..") {
      if (!path.components.empty()) path.components.pop_back();
      continue;
    }
    path.components.push_back(std::move(part));
  }
  return path;
}

fs::path HostFileSystem::hostPath(const WindowsPath& path) const {
  auto drive = drives_.find(path.drive);
  if (drive == drives_.end() || drive->second.folder.empty()) return {};
  fs::path host = drive->second.folder;
  bool lookingUp = true;  // until a component is missing: nothing below it exists either
  for (const std::string& component : path.components) {
    std::error_code ec;
    if (lookingUp && !fs::exists(fs::symlink_status(host / component, ec))) {
      if (auto found = findInsensitive(host, component)) {
        host = *found;
        continue;
      }
      lookingUp = false;
    }
    host /= component;
  }
  return host;
}

fs::path HostFileSystem::hostPath(const std::string& windowsPath) const {
  auto parsed = parse(windowsPath);
  return parsed ? hostPath(*parsed) : fs::path();
}

// Windows paths compare without regard to case; this is the form used to key
// per-path settings.
std::string HostFileSystem::pathKey(const std::string& windowsPath) const {
  auto parsed = parse(windowsPath);
  if (!parsed) return lowerAscii(windowsPath);
  std::string text(1, lowerAscii(parsed->drive));
  text += ":";
  for (const std::string& component : parsed->components) {
    text += '\\';
    text += lowerAscii(component);
  }
  return text;
}

// The host folder behind a parsed path, read into entries. The path as written
// is tried first: when it opens, every component already matched exactly, and
// the component-wise lookup without regard to case is spared.
bool HostFileSystem::readFolder(const WindowsPath& path, std::string_view pattern, bool readOnlyBit,
                                std::vector<DirEntry>& entries) const {
  const Detail detail = readOnlyBit ? Detail::KindAndReadOnly : Detail::Kind;
  auto drive = drives_.find(path.drive);
  if (drive == drives_.end() || drive->second.folder.empty()) return false;
  fs::path direct = drive->second.folder;
  for (const std::string& component : path.components) direct /= component;
  if (readHostFolder(direct, pattern, detail, entries)) return true;
  const fs::path resolved = hostPath(path);
  return resolved != direct && readHostFolder(resolved, pattern, detail, entries);
}

// --- shell folders and drives ------------------------------------------------------

std::optional<std::string> HostFileSystem::shellFolder(ShellFolder) { return std::nullopt; }

DriveType HostFileSystem::driveType(const std::string& root) {
  if (root.empty() || !isDriveLetter(root[0])) return DriveType::NoRootDir;
  auto drive = drives_.find(upperDrive(root[0]));
  return drive == drives_.end() ? DriveType::NoRootDir : drive->second.type;
}

std::string HostFileSystem::currentDirectory() { return currentDirectory_; }

std::string HostFileSystem::fullPath(const std::string& path) {
  auto full = path::fullPathIn(path, currentDirectory_);
  if (!full) throw IoError(kInvalidName);
  return *full;
}

std::optional<std::string> HostFileSystem::canonicalDirectory(const std::string& path) {
  std::error_code ec;
  const fs::path host = hostPath(path);
  if (host.empty() || !fs::is_directory(host, ec)) return std::nullopt;
  const fs::path real = fs::canonical(host, ec);
  if (ec) return std::nullopt;
  std::optional<std::pair<char, fs::path>> holder;  // the drive and the rest below its folder
  std::size_t holderLength = 0;
  std::vector<char> letters{'C'};
  for (const auto& entry : drives_)
    if (entry.first != 'C') letters.push_back(entry.first);
  for (const char letter : letters) {
    const auto drive = drives_.find(letter);
    if (drive == drives_.end() || drive->second.folder.empty()) continue;
    const fs::path folder = fs::canonical(drive->second.folder, ec);
    if (ec) continue;
    const auto [inFolder, inReal] = std::mismatch(folder.begin(), folder.end(), real.begin(), real.end());
    if (inFolder != folder.end()) continue;
    const std::size_t length = folder.native().size();
    if (holder && length >= holderLength) continue;
    holderLength = length;
    holder.emplace(letter, real.lexically_relative(folder));
  }
  if (!holder) return directoryForm(fullPath(path));
  std::string canonical = std::string(1, holder->first) + ":\\";
  for (const fs::path& name : holder->second) {
    if (name == ".") continue;
    canonical = path::withTrailingBackslash(std::move(canonical)) + name.string();
  }
  return canonical;
}

// --- directories and files -----------------------------------------------------------

bool HostFileSystem::directoryExists(const std::string& path) {
  fs::path host = hostPath(path);
  std::error_code ec;
  return !host.empty() && fs::is_directory(host, ec);
}

bool HostFileSystem::fileExists(const std::string& path) {
  fs::path host = hostPath(path);
  std::error_code ec;
  return !host.empty() && fs::exists(host, ec) && !fs::is_directory(host, ec);
}

void HostFileSystem::createDirectory(const std::string& path) {
  fs::path host = hostPath(path);
  if (host.empty()) throw IoError(io::InvalidFilename);
  std::error_code ec;
  if (fs::exists(host, ec)) throw IoError(kAlreadyExists);
  fs::create_directory(host, ec);
  if (ec) throw IoError(ioCodeFromErrno(ec.value()));
}

std::vector<DirEntry> HostFileSystem::listDirectory(const std::string& pattern) {
  return listing(pattern, true);
}

// Walks over whole drives need no read-only bit, and leaving it out spares a
// look at every entry.
void HostFileSystem::forEachEntry(const std::string& pattern, const EntryVisitor& visit) {
  for (const DirEntry& entry : listing(pattern, false)) visit(EntryView{entry.name, entry.attributes});
}

std::vector<DirEntry> HostFileSystem::listing(const std::string& pattern, bool readOnlyBit) const {
  auto slash = pattern.find_last_of("\\/");
  const std::string folder = slash == std::string::npos ? currentDirectory_ : pattern.substr(0, slash + 1);
  const std::string namePattern = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
  auto parsed = parse(folder);
  if (!parsed || namePattern.empty()) return {};
  std::vector<DirEntry> entries;
  if (!readFolder(*parsed, namePattern, readOnlyBit, entries)) return {};
  // The file system's order, as the host does not keep one of its own: sorted
  // by name without regard to case.
  std::sort(entries.begin(), entries.end(),
            [](const DirEntry& a, const DirEntry& b) { return nameBefore(a.name, b.name); });
  // Every directory but a drive's root lists itself and its parent first.
  if (!parsed->components.empty()) {
    for (const char* dots : {"..", "."}) {
      if (matchesWindowsPattern(namePattern, dots)) entries.insert(entries.begin(), {dots, attr::Directory});
    }
  }
  return entries;
}

std::unique_ptr<OutputFile> HostFileSystem::openOutput(const std::string& path, const char* mode) {
  fs::path host = hostPath(path);
  if (host.empty()) throw IoError(io::InvalidFilename);
  errno = 0;
  std::FILE* file = std::fopen(host.string().c_str(), mode);
  if (file == nullptr) throw IoError(ioCodeFromErrno(errno));
  return std::make_unique<HostOutputFile>(file);
}

std::unique_ptr<OutputFile> HostFileSystem::createFile(const std::string& path) {
  return openOutput(path, "wb");
}

std::unique_ptr<InputFile> HostFileSystem::openFile(const std::string& path) {
  fs::path host = hostPath(path);
  if (host.empty()) throw IoError(io::InvalidFilename);
  errno = 0;
  std::FILE* file = std::fopen(host.string().c_str(), "rb");
  if (file == nullptr) {
    const int error = errno;
    std::error_code ec;
    // A missing file in a folder that exists is "not found"; a missing folder is a bad path.
    if (error == ENOENT && fs::is_directory(host.parent_path(), ec)) throw IoError(io::FileNotFound);
    throw IoError(ioCodeFromErrno(error));
  }
  return std::make_unique<HostInputFile>(file);
}

void HostFileSystem::replaceFile(const std::string& source, const std::string& target) {
  fs::path from = hostPath(source);
  fs::path to = hostPath(target);
  if (from.empty() || to.empty()) throw IoError(io::InvalidFilename);
  std::error_code ec;
  if (!fs::exists(from, ec)) throw IoError(io::FileNotFound);
  if (fs::is_directory(to, ec)) throw IoError(io::AccessDenied);
  // rename() puts the new file in place in one step: the target is either the
  // old file or the new one, never a mixture.
  fs::rename(from, to, ec);
  if (ec) throw IoError(ioCodeFromErrno(ec.value()));
}

bool HostFileSystem::removeFile(const std::string& path) noexcept {
  try {
    fs::path host = hostPath(path);
    std::error_code ec;
    if (host.empty() || fs::is_directory(host, ec)) return false;
    return fs::remove(host, ec) && !ec;
  } catch (...) {
    return false;
  }
}

bool HostFileSystem::removeDirectory(const std::string& path) noexcept {
  try {
    fs::path host = hostPath(path);
    std::error_code ec;
    if (host.empty() || !fs::is_directory(host, ec) || !fs::is_empty(host, ec)) return false;
    return fs::remove(host, ec) && !ec;
  } catch (...) {
    return false;
  }
}

std::optional<std::uint64_t> HostFileSystem::fileSize(const std::string& path) {
  const fs::path host = hostPath(path);
  std::error_code ec;
  if (host.empty() || !fs::is_regular_file(host, ec)) return std::nullopt;
  const std::uintmax_t size = fs::file_size(host, ec);
  if (ec) return std::nullopt;
  return size;
}

std::unique_ptr<OutputFile> HostFileSystem::appendFile(const std::string& path) {
  return openOutput(path, "ab");
}

bool HostFileSystem::createStagingFolder(const std::string& path) {
  try {
    createDirectory(path);
  } catch (const IoError&) {
    return false;
  }
  return true;
}

// --- what the host has no sense of ----------------------------------------------------

void HostFileSystem::startWindowed(const std::string& commandLine, int) {
  throw std::runtime_error("The host starts no Windows programs: " + commandLine);
}

void HostFileSystem::openLink(const std::string& target) {
  throw std::runtime_error("The host has no shell to open " + target);
}

void HostFileSystem::createShortcut(const ShortcutSpec& shortcut) {
  throw std::runtime_error("The host has no shell links: " + shortcut.linkPath);
}

std::optional<std::string> HostFileSystem::shortcutTarget(const std::string&) { return std::nullopt; }

std::string HostFileSystem::ownProgramPath() {
  throw std::runtime_error("The host program has no Windows program file");
}

std::uint32_t HostFileSystem::processId() {
  throw std::runtime_error("The host program is no Windows process");
}

std::optional<std::string> HostFileSystem::temporaryFolder() { return std::nullopt; }

bool HostFileSystem::startInFolder(const std::string&, const std::string&) { return false; }

bool HostFileSystem::waitForProcessEnd(std::uint32_t, int) { return true; }

bool HostFileSystem::fileInUse(const std::string&) { return false; }

bool HostFileSystem::removeFileAtRestart(const std::string&) noexcept { return false; }

std::unique_ptr<FileHold> HostFileSystem::writeHeldFile(const std::string& path,
                                                        const std::vector<std::uint8_t>&) {
  throw std::runtime_error("The host cannot hold a file against other programs: " + path);
}

bool HostFileSystem::runsElevated() { return false; }

bool HostFileSystem::startWindowedAsDesktopUser(const std::string&, int) { return false; }

void HostFileSystem::writeRegistryValues(const std::string& key, const std::vector<RegistryValue>&) {
  throw std::runtime_error("The host has no registry to write " + key);
}

std::optional<std::string> HostFileSystem::readRegistryText(const std::string&, const std::string&) {
  return std::nullopt;
}

bool HostFileSystem::removeRegistryKey(const std::string&) noexcept { return true; }

// --- identity, time, randomness, text ---------------------------------------------------

std::uint64_t HostFileSystem::tickCount() {
  const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint64_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count());
}

void HostFileSystem::sleep(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(std::max(milliseconds, 0)));
}

Guid HostFileSystem::createGuid() {
  if (guid_) return *guid_;
  const std::uint64_t high = guidRandom_(), low = guidRandom_();
  Guid guid;
  guid.data1 = static_cast<std::uint32_t>(high >> 32);
  guid.data2 = static_cast<std::uint16_t>(high >> 16);
  guid.data3 = static_cast<std::uint16_t>((high & 0x0FFF) | 0x4000);  // version 4: random
  for (int i = 0; i < 8; ++i) guid.data4[i] = static_cast<std::uint8_t>(low >> (56 - 8 * i));
  guid.data4[0] = static_cast<std::uint8_t>((guid.data4[0] & 0x3F) | 0x80);  // the standard variant
  return guid;
}

LocalDateTime HostFileSystem::now() {
  if (now_) return *now_;
  const auto clock = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(clock);
  const std::tm local = *std::localtime(&seconds);
  const auto sinceEpoch = std::chrono::duration_cast<std::chrono::milliseconds>(clock.time_since_epoch());
  LocalDateTime result;
  result.year = local.tm_year + 1900;
  result.month = local.tm_mon + 1;
  result.day = local.tm_mday;
  result.hour = local.tm_hour;
  result.minute = local.tm_min;
  result.second = local.tm_sec;
  result.millisecond = static_cast<int>(sinceEpoch.count() % 1000);
  return result;
}

// Scales a 32-bit draw onto the range, so the result depends only on the seed.
std::uint32_t HostFileSystem::random(std::uint32_t range) {
  return static_cast<std::uint32_t>((static_cast<std::uint64_t>(random_()) * range) >> 32);
}

int HostFileSystem::compareTextInsensitive(const std::string& a, const std::string& b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const auto ca = static_cast<unsigned char>(lowerAscii(a[i]));
    const auto cb = static_cast<unsigned char>(lowerAscii(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace vorpane::platform
