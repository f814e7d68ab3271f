#pragma once
// The installer splits its command line as the platform does for every
// program of the product (see platform/CommandLine.h).

#include "platform/CommandLine.h"

namespace vorpane::app {

using platform::SplitCommandLine;

}  // namespace vorpane::app
