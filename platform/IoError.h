#pragma once
// The runtime's input/output errors: a numeric code and its fixed message.

#include <stdexcept>
#include <string>

namespace vorpane::platform {

namespace io {
inline constexpr int FileNotFound = 2;
inline constexpr int InvalidFilename = 3;
inline constexpr int TooManyOpenFiles = 4;
inline constexpr int AccessDenied = 5;
inline constexpr int ReadBeyondEnd = 100;
inline constexpr int DiskFull = 101;
inline constexpr int FileNotOpen = 103;
inline constexpr int SharingViolation = 32;
inline constexpr int InvalidNumericInput = 106;
}  // namespace io

// Whether a file operation was refused because another program holds the file,
// as a running program holds its own: worth trying again shortly.
inline bool isInUse(int code) { return code == io::AccessDenied || code == io::SharingViolation; }

// "File not found", "Disk full", "File in use", ... and "I/O error %d" for any
// other code.
std::string ioErrorMessage(int code);
// Whether the code has a message of its own; "I/O error %d" says nothing to a
// person, who needs the system's words for it besides.
bool hasOwnMessage(int code);

class IoError : public std::runtime_error {
 public:
  explicit IoError(int code) : std::runtime_error(ioErrorMessage(code)), code_(code) {}
  // The same error about one file, named after the message: "File access denied: C:\Vorpane\Vorpane.Exe".
  IoError(int code, const std::string& path)
      : std::runtime_error(ioErrorMessage(code) + ": " + path), code_(code), path_(path) {}
  int code() const { return code_; }
  // The file the error is about; empty when the error names none.
  const std::string& path() const { return path_; }

 private:
  int code_;
  std::string path_;
};

// Runs a file operation on path; an I/O error that names no file is raised
// again naming path, so that whoever reads it knows which file failed.
template <class Operation>
decltype(auto) NamingFile(const std::string& path, Operation&& operation) {
  try {
    return operation();
  } catch (const IoError& error) {
    if (!error.path().empty()) throw;
    throw IoError(error.code(), path);
  }
}

}  // namespace vorpane::platform
