#include "tools/snapshot/SnapshotOptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using velmora::tools::ParseSnapshotOptions;

namespace
{

std::optional<velmora::tools::SnapshotOptions> Parse(std::vector<const char*> args,
                                                     std::string& error)
{
  args.insert(args.begin(), "velmora-editor-snapshot");
  return ParseSnapshotOptions(static_cast<int>(args.size()), args.data(), error);
}

} // namespace

TEST(SnapshotOptions, ReadsScaleSettingsDemoControlsAndOutput)
{
  std::string error;
  const auto options = Parse({"--scale", "1.5", "--set", "Mod A=40", "--set", "Gain=-3.5", "--demo",
                              "2.5", "--controls", "controls.txt", "--held", "Mod A", "out.png"},
                             error);
  ASSERT_TRUE(options) << error;
  EXPECT_EQ(options->scale, 1.5f);
  EXPECT_EQ(options->demoSeconds, 2.5);
  ASSERT_EQ(options->settings.size(), 2u);
  EXPECT_EQ(options->settings[0].first, "Mod A");
  EXPECT_EQ(options->settings[0].second, 40.0);
  EXPECT_EQ(options->settings[1].second, -3.5);
  EXPECT_EQ(options->heldParam, "Mod A");
  EXPECT_EQ(options->outputPath, "out.png");
  EXPECT_EQ(options->controlsPath, "controls.txt");

  const auto defaults = Parse({"out.png"}, error);
  ASSERT_TRUE(defaults);
  EXPECT_EQ(defaults->scale, 1.f);
  EXPECT_EQ(defaults->demoSeconds, 0.0);
  EXPECT_TRUE(defaults->controlsPath.empty());
  EXPECT_EQ(defaults->heldParam, "");
}

TEST(SnapshotOptions, RefusesWhatItCannotUse)
{
  const std::vector<std::vector<const char*>> cases = {
      {},
      {"--scale", "2"},
      {"--scale", "0.4", "o.png"},
      {"--scale", "4.5", "o.png"},
      {"--scale", "nan", "o.png"},
      {"--scale", "1,5", "o.png"},
      {"--demo", "-1", "o.png"},
      {"--demo", "61", "o.png"},
      {"--set", "Gain", "o.png"},
      {"--set", "=3", "o.png"},
      {"--set", "Gain=loud", "o.png"},
      {"--set", "Gain=inf", "o.png"},
      {"o.png", "--set"},
      {"o.png", "--controls"},
      {"o.png", "--held"},
      {"--size", "3", "o.png"},
      {"a.png", "b.png"},
  };
  for (const auto& args : cases)
  {
    std::string joined;
    for (const char* a : args)
      joined += std::string(a) + " ";
    std::string error;
    EXPECT_FALSE(Parse(args, error)) << joined;
    EXPECT_FALSE(error.empty()) << joined;
  }
}
