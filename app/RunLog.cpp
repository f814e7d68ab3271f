#include "app/RunLog.h"

namespace vorpane::app {

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
