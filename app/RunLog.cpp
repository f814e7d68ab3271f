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

void LoggingProgress::fileWritten(const std::string& path, std::uint64_t size) {
  write("Wrote " + path + " (" + std::to_string(size) + " bytes)");
  if (shown_ != nullptr) shown_->fileWritten(path, size);
}

void LoggingProgress::shortcutCreated(const std::string& linkPath, const std::string& target) {
  write("Created shortcut " + linkPath + " to " + target);
  if (shown_ != nullptr) shown_->shortcutCreated(linkPath, target);
}

void LoggingProgress::write(const std::string& text) {
  if (log_ != nullptr) log_->write(text);
}

}  // namespace vorpane::app
