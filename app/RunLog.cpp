#include "app/RunLog.h"

namespace vorpane::app {

void LoggingProgress::directoryCreated(const std::string& path) {
  write("Created directory " + path);
  ForwardingProgress::directoryCreated(path);
}

void LoggingProgress::fileWritten(const std::string& path, std::uint64_t size, bool isNew) {
  write((isNew ? "Wrote " : "Replaced ") + path + " (" + std::to_string(size) + " bytes)");
  ForwardingProgress::fileWritten(path, size, isNew);
}

void LoggingProgress::shortcutCreated(const std::string& linkPath, const std::string& target, bool isNew) {
  write((isNew ? "Created shortcut " : "Replaced shortcut ") + linkPath + " to " + target);
  ForwardingProgress::shortcutCreated(linkPath, target, isNew);
}

void LoggingProgress::registryEntryWritten(const std::string& key, bool isNew) {
  write((isNew ? "Created registry entry " : "Updated registry entry ") + key);
  ForwardingProgress::registryEntryWritten(key, isNew);
}

void LoggingProgress::stepSkipped(const std::string& what, const std::exception& error) {
  if (log_ != nullptr) log_->writeFailure("Skipped: " + what, error);
  ForwardingProgress::stepSkipped(what, error);
}

void LoggingProgress::write(const std::string& text) {
  if (log_ != nullptr) log_->write(text);
}

}  // namespace vorpane::app
