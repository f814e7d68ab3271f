#include "app/ErrorDisplay.h"

namespace vorpane::app {

std::string withClosingPeriod(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}

void showException(MessageLoop& loop, const std::exception& error) {
  loop.showError(withClosingPeriod(error.what()));
}

}  // namespace vorpane::app
