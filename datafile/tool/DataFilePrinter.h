#pragma once
// Renders a decoded data file for people (aligned text) and for programs (JSON).

#include <ostream>

#include "datafile/DataFileDecoder.h"

namespace vorpane::datafile::tool {

void PrintText(std::ostream& out, const DecodedDataFile& file);
void PrintJson(std::ostream& out, const DecodedDataFile& file);

}  // namespace vorpane::datafile::tool
