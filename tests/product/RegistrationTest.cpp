// Which entry of the list of installed programs an installation takes, and
// what it says, with installations side by side and inside each other.

#include "product/Registration.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>

#include "tests/support/FakePlatform.h"

namespace vorpane::product {
namespace {

namespace fs = std::filesystem;

constexpr char kShared[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vorpane";
// FNV-1a 64 of "c:\tools\vorpane-test\": the key must stay the same from
// version to version, or an upgrade would list the installation twice.
constexpr char kInnerKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vorpane-A166764C44CE70D3";

class RegistrationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("vorpane-registration-" + std::to_string(std::random_device{}()));
    host_.mapDrive('C', root_);
    install("C:\\Tools\\");
    install("C:\\Tools\\Vorpane-test\\");
  }
  void TearDown() override { fs::remove_all(root_); }

  void install(const std::string& directory) {
    fs::create_directories(host_.hostPath(directory));
    std::ofstream(host_.hostPath(directory + "Vorpane.Dat")) << "data";
  }
  void list(const std::string& key, const std::string& location) {
    host_.writeRegistryValues(key, {{"DisplayName", "Vorpane", {}}, {"InstallLocation", location, {}}});
  }
  std::string text(const std::vector<platform::RegistryValue>& values, const std::string& name) {
    for (const auto& value : values)
      if (value.name == name) return value.text;
    return "<none>";
  }

  fs::path root_;
  platform::FakePlatform host_;
};

TEST_F(RegistrationTest, EachInstallationTakesTheSharedEntryOrOneOfItsOwn) {
  // Free.
  EXPECT_EQ(EntryKeyFor(host_, "C:\\Tools\\"), kShared);
  // Its own, however the directory is spelled.
  list(kShared, "c:\\TOOLS");
  EXPECT_EQ(EntryKeyFor(host_, "C:\\Tools\\"), kShared);
  EXPECT_EQ(EntryOfInstallation(host_, "C:\\Tools"), kShared);
  // Another installation that is still there, even around this one.
  EXPECT_EQ(EntryKeyFor(host_, "C:\\Tools\\Vorpane-test\\"), kInnerKey);
  EXPECT_EQ(OwnEntryKey(host_, "c:\\tools\\VORPANE-TEST"), kInnerKey);
  EXPECT_EQ(EntryOfInstallation(host_, "C:\\Tools\\Vorpane-test\\"), std::nullopt);
  // An entry of its own is found again for an upgrade or the uninstaller.
  list(kInnerKey, "C:\\Tools\\Vorpane-test");
  EXPECT_EQ(EntryOfInstallation(host_, "C:\\Tools\\Vorpane-test\\"), kInnerKey);
  EXPECT_EQ(EntryKeyFor(host_, "C:\\Tools\\Vorpane-test\\"), kInnerKey);
  // A third installation, while the shared entry names one that is gone.
  fs::remove(host_.hostPath("C:\\Tools\\Vorpane.Dat"));
  EXPECT_EQ(EntryKeyFor(host_, "C:\\Third\\"), kShared);
  EXPECT_EQ(EntryKeyFor(host_, "C:\\Tools\\Vorpane-test\\"), kInnerKey);
}

TEST_F(RegistrationTest, AnEntryWithoutLocationIsTheInstallationsThatIsThere) {
  host_.writeRegistryValues(kShared, {{"DisplayName", "Vorpane", {}}});
  EXPECT_EQ(EntryOfInstallation(host_, "C:\\Tools\\"), kShared);
  EXPECT_EQ(EntryOfInstallation(host_, "C:\\Nothing Here\\"), std::nullopt);
  EXPECT_EQ(EntryKeyFor(host_, "C:\\Nothing Here\\"), kShared);
}

TEST_F(RegistrationTest, TheValuesTellWhereItIsHowToRemoveItQuietlyAndItsWholeSize) {
  const platform::LocalDateTime day{2026, 3, 7};
  const auto shared = InstalledProgramsValues(kShared, "C:\\Tools\\", 1025, day);
  EXPECT_EQ(text(shared, "DisplayName"), "Vorpane");
  EXPECT_EQ(text(shared, "InstallLocation"), "C:\\Tools");
  EXPECT_EQ(text(shared, "InstallDate"), "20260307");
  EXPECT_EQ(text(shared, "UninstallString"), "\"C:\\Tools\\Uninstall_Vorpane.Exe\"");
  EXPECT_EQ(text(shared, "QuietUninstallString"), "\"C:\\Tools\\Uninstall_Vorpane.Exe\" /S");
  EXPECT_TRUE(std::count(shared.begin(), shared.end(), platform::RegistryValue{"EstimatedSize", "", 2u}));

  const auto own = InstalledProgramsValues(kInnerKey, "C:\\Tools\\Vorpane-test\\", 2048, day);
  EXPECT_EQ(text(own, "DisplayName"), "Vorpane (C:\\Tools\\Vorpane-test)");
  EXPECT_TRUE(std::count(own.begin(), own.end(), platform::RegistryValue{"EstimatedSize", "", 2u}));

  std::ofstream(host_.hostPath("C:\\Tools\\Vorpane.Exe")) << "client";
  std::ofstream(host_.hostPath("C:\\Tools\\Uninstall_Vorpane.Exe")) << "remover";
  EXPECT_EQ(InstalledBytes(host_, "C:\\Tools"), 6u + 7u + 4u);
}

}  // namespace
}  // namespace vorpane::product
