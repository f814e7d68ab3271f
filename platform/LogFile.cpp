#include "platform/LogFile.h"

#include <cstdio>

namespace vorpane::platform {

namespace {

std::string timeStamp(const LocalDateTime& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", t.year, t.month, t.day, t.hour,
                t.minute, t.second, t.millisecond);
  return text;
}

// Even a fresh log is written by appending, shared: a setup program refused
// while this one runs adds its refusal to it.
std::unique_ptr<OutputFile> openLog(Platform& platform, const std::string& path, LogStart start) {
  if (start == LogStart::Fresh) platform.createFile(path)->close();
  return platform.appendFile(path);
}

}  // namespace

LogFile::LogFile(Platform& platform, const std::string& path, LogStart start)
    : platform_(platform), file_(openLog(platform, path, start)) {}

LogFile::~LogFile() {
  try {
    file_->close();
  } catch (const std::exception&) {
    // Every line has been handed to the system already.
  }
}

void LogFile::write(const std::string& text) {
  std::string line = timeStamp(platform_.now()) + "  " + text;
  // Messages break their lines for a box; in the log each step keeps one line.
  for (char& c : line)
    if (c == '\r' || c == '\n') c = ' ';
  line += "\r\n";
  try {
    file_->write(reinterpret_cast<const std::uint8_t*>(line.data()), line.size());
    file_->flush();
  } catch (const std::exception&) {
    // A log that cannot be written must not stop the run it describes.
  }
}

void LogFile::writeArguments(const std::string& program, const std::vector<std::string>& arguments) {
  std::string text = program + ", arguments:";
  for (const auto& argument : arguments) text += " [" + argument + "]";
  write(text);
}

void LogFile::writeFailure(const std::string& what, const std::exception& error) {
  std::string text = what + ": " + error.what();
  if (const auto* io = dynamic_cast<const IoError*>(&error)) {
    const std::string system = platform_.systemErrorText(io->code());
    if (!system.empty()) text += " (" + system + ")";
  }
  write(text);
}

}  // namespace vorpane::platform
