#include "editor/DisplayScalePreference.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>

namespace fs = std::filesystem;
using velmora::PreferenceFolder;
using velmora::PreferencePath;
using velmora::ReadPreference;
using velmora::StoredScale;
using velmora::WritePreference;

namespace
{

// Points the user's settings folder at a fresh temporary directory for each test.
class PreferenceFileTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    mRoot = fs::temp_directory_path() /
            ("velmora-pref-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(mRoot);
    fs::create_directories(mRoot);
    ::setenv("XDG_CONFIG_HOME", mRoot.c_str(), 1);
  }
  void TearDown() override
  {
    ::unsetenv("XDG_CONFIG_HOME");
    fs::remove_all(mRoot);
  }

  fs::path PrefFile() const { return fs::path(PreferencePath("velmora")); }

  void WriteRaw(const std::string& content) const
  {
    fs::create_directories(PrefFile().parent_path());
    std::ofstream(PrefFile(), std::ios::binary) << content;
  }

  std::string ReadRaw() const
  {
    std::ifstream file(PrefFile(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }

  fs::path mRoot;
};

TEST_F(PreferenceFileTest, FolderAndFileNameFollowTheUserSettingsFolder)
{
  EXPECT_EQ(PreferenceFolder(), mRoot.string() + "/Corvane Audio/Preferences/");
  EXPECT_EQ(PreferencePath("velmora"),
            mRoot.string() + "/Corvane Audio/Preferences/velmora-display-scale.txt");
  EXPECT_EQ(PreferencePath("a:b/c|d\"e*f<g>h?i\\j"),
            mRoot.string() + "/Corvane Audio/Preferences/a_b_c_d_e_f_g_h_i_j-display-scale.txt");
  EXPECT_EQ(PreferencePath(""), "");
}

TEST_F(PreferenceFileTest, FallsBackToHomeConfigAndHasNoFolderWithoutEither)
{
  const char* savedHome = std::getenv("HOME");
  const std::string home = savedHome != nullptr ? savedHome : "";
  ::setenv("XDG_CONFIG_HOME", "", 1);
  ::setenv("HOME", mRoot.c_str(), 1);
  EXPECT_EQ(PreferenceFolder(), mRoot.string() + "/.config/Corvane Audio/Preferences/");
  ::unsetenv("XDG_CONFIG_HOME");
  ::unsetenv("HOME");
  EXPECT_EQ(PreferenceFolder(), "");
  EXPECT_EQ(PreferencePath("velmora"), "");
  EXPECT_FALSE(WritePreference("velmora", 1.5f));
  EXPECT_FLOAT_EQ(StoredScale("velmora"), 1.f);
  ::setenv("HOME", home.c_str(), 1);
}

TEST_F(PreferenceFileTest, StoredScaleFromFileContent)
{
  struct Case
  {
    const char* content;
    float expected;
  };
  const Case cases[] = {
      {"3.5\n", 3.5f},       {"9\n", 4.f},
      {"0.2\n", 0.5f},       {"abc\n", 1.f},
      {"1.5abc\n", 1.f},     {"-2\n", 1.f},
      {"0\n", 1.f},          {"inf\n", 1.f},
      {"nan\n", 1.f},        {"", 1.f},
      {"\n1.5\n", 1.f},      {"  1.25  \n", 1.25f},
      {"1.2500\r\n", 1.25f}, {"1.75", 1.75f},
      {"1e60\n", 1.f},       {"+2\n", 2.f},
      {"1,5\n", 1.f},        {"2.0000\n3.0000\n", 2.f},
  };
  for (const Case& c : cases)
  {
    WriteRaw(c.content);
    EXPECT_FLOAT_EQ(StoredScale("velmora"), c.expected) << "content: \"" << c.content << "\"";
  }
}

TEST_F(PreferenceFileTest, MissingOrOverlongFileReadsAsNothingStored)
{
  EXPECT_FALSE(ReadPreference("velmora").has_value());
  EXPECT_FLOAT_EQ(StoredScale("velmora"), 1.f);
  WriteRaw(std::string(100000, '1'));
  EXPECT_FALSE(ReadPreference("velmora").has_value());
}

TEST_F(PreferenceFileTest, WriteCreatesFoldersAndStoresFourDecimals)
{
  ASSERT_FALSE(fs::exists(mRoot / "Corvane Audio"));
  ASSERT_TRUE(WritePreference("velmora", 1.37f));
  EXPECT_EQ(ReadRaw(), "1.3700\n");
  ASSERT_TRUE(WritePreference("velmora", 1.5f));
  EXPECT_EQ(ReadRaw(), "1.5000\n");
  EXPECT_FLOAT_EQ(StoredScale("velmora"), 1.5f);
  // Nothing but the file itself is left in the folder (no temporary files).
  EXPECT_EQ(
      std::distance(fs::directory_iterator(PrefFile().parent_path()), fs::directory_iterator()), 1);
}

TEST_F(PreferenceFileTest, RefusedValuesLeaveTheFileUnchanged)
{
  ASSERT_TRUE(WritePreference("velmora", 1.25f));
  for (const float bad :
       {0.f, -1.f, std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN()})
  {
    EXPECT_FALSE(WritePreference("velmora", bad)) << bad;
    EXPECT_EQ(ReadRaw(), "1.2500\n");
  }
}

TEST_F(PreferenceFileTest, WriteIntoAFolderThatCannotBeCreatedFailsAndKeepsTheOldFile)
{
  ASSERT_TRUE(WritePreference("velmora", 1.75f));
  // A plain file where the folder's parent should be makes the folder impossible to create.
  const fs::path blocked = mRoot / "blocked";
  std::ofstream(blocked) << "not a folder";
  ::setenv("XDG_CONFIG_HOME", blocked.c_str(), 1);
  EXPECT_FALSE(WritePreference("velmora", 2.f));
  ::setenv("XDG_CONFIG_HOME", mRoot.c_str(), 1);
  EXPECT_EQ(ReadRaw(), "1.7500\n");
}

TEST_F(PreferenceFileTest, CommaDecimalLocaleChangesNothing)
{
  // Build a German locale in the test folder so the check does not depend on the machine's set.
  const fs::path locales = mRoot / "locales";
  fs::create_directories(locales);
  const std::string command =
      "localedef -i de_DE -f UTF-8 '" + (locales / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << "localedef could not build de_DE.UTF-8";
  ::setenv("LOCPATH", locales.c_str(), 1);
  ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
  char printed[16];
  std::snprintf(printed, sizeof printed, "%.1f", 1.5);
  ASSERT_STREQ(printed, "1,5") << "the locale did not take effect";

  EXPECT_TRUE(WritePreference("velmora", 1.25f));
  EXPECT_EQ(ReadRaw(), "1.2500\n");
  WriteRaw("1.7500\n");
  EXPECT_FLOAT_EQ(StoredScale("velmora"), 1.75f);
  WriteRaw("1,7500\n");
  EXPECT_FLOAT_EQ(StoredScale("velmora"), 1.f);

  std::setlocale(LC_ALL, "C");
  ::unsetenv("LOCPATH");
}

} // namespace
