// The command line split as the client passes it.

#include <gtest/gtest.h>

#include "platform/CommandLine.h"

namespace vorpane::platform {
namespace {

using Args = std::vector<std::string>;

TEST(SplitCommandLine, QuotesGroupAndGoWhileBackslashesStayAsTheyAre) {
  EXPECT_EQ(SplitCommandLine(R"("C:\Setup\Install_Vorpane.exe" /autoupdate "C:\Program Files\Vorpane\")"),
            (Args{"/autoupdate", R"(C:\Program Files\Vorpane\)"}));
  EXPECT_EQ(SplitCommandLine(R"(Install_Vorpane.exe /autoupdate C:\Program Files\Vorpane\)"),
            (Args{"/autoupdate", "C:\\Program", "Files\\Vorpane\\"}));
  EXPECT_EQ(SplitCommandLine(R"(x.exe "a b"c "" d\"e)"), (Args{"a bc", "", "d\\e"}));
  EXPECT_EQ(SplitCommandLine("  \"C:\\my setup\\x.exe\"\t /AutoUpdate \t D:\\Apps  "),
            (Args{"/AutoUpdate", "D:\\Apps"}));
  EXPECT_EQ(SplitCommandLine("x.exe"), Args{});
  EXPECT_EQ(SplitCommandLine(""), Args{});
}

}  // namespace
}  // namespace vorpane::platform
