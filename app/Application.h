#pragma once
// The application's default exception display: what the user sees when a page
// check or a run fails.

#include <exception>

#include "app/Shell.h"

namespace vorpane::app {

// Shows the exception's message in an error box titled with the application
// title; the page that raised it stays as it is.
void showException(Shell& shell, const std::exception& error);

}  // namespace vorpane::app
