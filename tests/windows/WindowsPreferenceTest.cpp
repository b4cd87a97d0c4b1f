// The display-scale preference where Windows keeps per-user settings, with Windows line ends.
#include "editor/DisplayScalePreference.h"

#include <shlobj.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace velmora::test
{
namespace
{

constexpr const char* kIdentifier = "vm00-windows-preference-test";

std::string RoamingAppData()
{
  char folder[MAX_PATH] = {};
  EXPECT_EQ(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder), S_OK);
  return folder;
}

TEST(WindowsPreference, LivesUnderTheRoamingApplicationDataFolder)
{
  const std::string appData = RoamingAppData();
  ASSERT_FALSE(appData.empty());
  EXPECT_EQ(PreferenceFolder(), appData + "\\Corvane Audio/Preferences/");
  EXPECT_EQ(PreferencePath("a:b"), PreferenceFolder() + "a_b-display-scale.txt");
}

TEST(WindowsPreference, IsWrittenWithACarriageReturnAndReadBack)
{
  const std::filesystem::path path = PreferencePath(kIdentifier);
  std::filesystem::remove(path);
  ASSERT_TRUE(WritePreference(kIdentifier, 1.5f));
  std::ifstream file(path, std::ios::binary);
  const std::string content{std::istreambuf_iterator<char>(file), {}};
  file.close();
  EXPECT_EQ(content, "1.5000\r\n");
  EXPECT_EQ(ReadPreference(kIdentifier), 1.5f);
  EXPECT_EQ(StoredScale(kIdentifier), 1.5f);
  std::filesystem::remove(path);
  EXPECT_EQ(StoredScale(kIdentifier), 1.f);
}

} // namespace
} // namespace velmora::test
