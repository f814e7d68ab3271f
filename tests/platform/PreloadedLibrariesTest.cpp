// The libraries both programs load from the system directory before their
// first window, held against the names the start-up test under Wine plants
// beside them: a preloaded library that the test does not plant would go
// unchecked there.

#include "platform/PreloadedLibraries.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>

namespace vorpane::platform {
namespace {

std::set<std::string> plantedNames() {
  std::ifstream in(VORPANE_PLANTED_LIBRARIES_FILE);
  std::set<std::string> names;
  for (std::string line; std::getline(in, line);)
    if (!line.empty() && line[0] != '#') names.insert(line);
  return names;
}

TEST(PreloadedLibrariesTest, EachIsAPlainLibraryNameThatTheStartupTestPlants) {
  const std::set<std::string> planted = plantedNames();
  ASSERT_FALSE(planted.empty()) << VORPANE_PLANTED_LIBRARIES_FILE;
  for (const std::string name : kPreloadedSystemLibraries) {
    EXPECT_TRUE(planted.contains(name)) << name << " is preloaded but not planted";
    // A name with a folder in it would be looked for there, not in the system directory.
    EXPECT_EQ(name.find_first_of("\\/:"), std::string::npos) << name;
    EXPECT_TRUE(name.ends_with(".dll")) << name;
  }
}

}  // namespace
}  // namespace vorpane::platform
