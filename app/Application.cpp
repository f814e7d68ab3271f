#include "app/Application.h"

namespace vorpane::app {

std::string withClosingPeriod(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}

void showException(Shell& shell, const std::exception& error) {
  shell.showError(withClosingPeriod(error.what()));
}

}  // namespace vorpane::app
