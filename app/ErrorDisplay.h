#pragma once
// The application's default exception display: what the user sees when a page
// check or a run fails.

#include <exception>
#include <string>

#include "app/MessageLoop.h"

namespace vorpane::app {

// The message as the error display shows it: with "." appended when its last
// character sorts above ".".
std::string withClosingPeriod(const std::string& message);

// Shows the exception's message in an error box titled with the application
// title; the page that raised it stays as it is.
void showException(MessageLoop& loop, const std::exception& error);

}  // namespace vorpane::app
