#include "app/RunLog.h"

#include <cstdio>

#include "platform/IoError.h"

namespace vorpane::app {

namespace {

std::string timeStamp(const platform::LocalDateTime& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", t.year, t.month, t.day, t.hour,
                t.minute, t.second, t.millisecond);
  return text;
}

}  // namespace

RunLog::RunLog(platform::Platform& platform, const std::string& path)
    : platform_(platform), file_(platform.createFile(path)) {}

RunLog::~RunLog() {
  try {
    file_->close();
  } catch (const std::exception&) {
    // Every line has been handed to the system already.
  }
}

void RunLog::write(const std::string& text) {
  std::string line = timeStamp(platform_.now()) + "  " + text;
  // Messages break their lines for a box; in the log each step keeps one line.
  for (char& c : line)
    if (c == '\r' || c == '\n') c = ' ';
  line += "\r\n";
  try {
    file_->write(reinterpret_cast<const std::uint8_t*>(line.data()), line.size());
    file_->flush();
  } catch (const std::exception&) {
    // A log that cannot be written must not stop the installation it describes.
  }
}

void RunLog::writeFailure(const std::string& what, const std::exception& error) {
  std::string text = what + ": " + error.what();
  if (const auto* io = dynamic_cast<const platform::IoError*>(&error)) {
    const std::string system = platform_.systemErrorText(io->code());
    if (!system.empty()) text += " (" + system + ")";
  }
  write(text);
}

void LoggingProgress::setMaximum(int maximum) {
  if (shown_ != nullptr) shown_->setMaximum(maximum);
}

void LoggingProgress::setPosition(int position) {
  if (shown_ != nullptr) shown_->setPosition(position);
}

void LoggingProgress::setPercent(int percent) {
  if (shown_ != nullptr) shown_->setPercent(percent);
}

void LoggingProgress::processMessages() {
  if (shown_ != nullptr) shown_->processMessages();
}

void LoggingProgress::directoryCreated(const std::string& path) {
  write("Created directory " + path);
  if (shown_ != nullptr) shown_->directoryCreated(path);
}

void LoggingProgress::fileWritten(const std::string& path, std::uint64_t size, bool isNew) {
  write((isNew ? "Wrote " : "Replaced ") + path + " (" + std::to_string(size) + " bytes)");
  if (shown_ != nullptr) shown_->fileWritten(path, size, isNew);
}

void LoggingProgress::shortcutCreated(const std::string& linkPath, const std::string& target, bool isNew) {
  write((isNew ? "Created shortcut " : "Replaced shortcut ") + linkPath + " to " + target);
  if (shown_ != nullptr) shown_->shortcutCreated(linkPath, target, isNew);
}

void LoggingProgress::registryEntryWritten(const std::string& key, bool isNew) {
  write((isNew ? "Created registry entry " : "Updated registry entry ") + key);
  if (shown_ != nullptr) shown_->registryEntryWritten(key, isNew);
}

void LoggingProgress::stepSkipped(const std::string& what, const std::exception& error) {
  if (log_ != nullptr) log_->writeFailure("Skipped: " + what, error);
  if (shown_ != nullptr) shown_->stepSkipped(what, error);
}

void LoggingProgress::write(const std::string& text) {
  if (log_ != nullptr) log_->write(text);
}

}  // namespace vorpane::app
