// The CLAP and the VST3 module, loaded by the command-line host, render the same output for the
// same settings and input.
#include "tools/host/HostedPluginLoader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace
{

using velmora::host::HostedPlugin;
using velmora::host::HostParamChange;
using velmora::host::HostParamInfo;
using velmora::host::ProcessSetup;

constexpr int kBlock = 256;
constexpr int kBlocks = 40;

struct Setting
{
  const char* name;
  const char* text;
  int block;
  int offset;
};

// Display values, resolved by each module into its own value terms.
const Setting kSettings[] = {
    {"Gain", "18", 0, 0},         {"Threshold", "-9", 0, 0},
    {"Mod A", "35", 0, 0},        {"Mod B", "20", 3, 77},
    {"Knee", "3", 5, 128},        {"T Assym", "4", 5, 200},
    {"Mix", "80", 9, 13},         {"Nonlinearity", "1.08", 12, 255},
    {"Output", "-4", 20, 1},      {"K Assym", "-2", 25, 64},
    {"N Assym", "0.02", 30, 100},
};

std::vector<double> Render(const std::string& path, const ProcessSetup& setup)
{
  std::string error;
  std::unique_ptr<HostedPlugin> plugin = velmora::host::LoadHostedPlugin(path, error);
  EXPECT_TRUE(plugin) << error;
  if (!plugin)
    return {};
  const std::vector<HostParamInfo> params = plugin->Parameters();
  std::vector<std::vector<HostParamChange>> changes(kBlocks);
  for (const Setting& s : kSettings)
  {
    for (const HostParamInfo& p : params)
    {
      double value = 0.0;
      if (p.name == s.name)
      {
        EXPECT_TRUE(plugin->ValueFromText(p.id, s.text, value)) << s.name;
        changes[static_cast<size_t>(s.block)].push_back({p.id, s.offset, value});
      }
    }
  }
  EXPECT_TRUE(plugin->Start(setup, error)) << error;
  std::vector<double> left(kBlock), right(kBlock), out;
  std::vector<double*> channels{left.data(), right.data()};
  channels.resize(static_cast<size_t>(setup.channels));
  for (int b = 0; b < kBlocks; ++b)
  {
    for (int i = 0; i < kBlock; ++i)
    {
      const double n = b * kBlock + i;
      left[static_cast<size_t>(i)] = 0.7 * std::sin(0.021 * n);
      right[static_cast<size_t>(i)] = 0.5 * std::sin(0.005 * n + 1.0);
    }
    EXPECT_TRUE(plugin->Process(channels, kBlock, changes[static_cast<size_t>(b)]));
    plugin->Idle();
    for (double* channel : channels)
      out.insert(out.end(), channel, channel + kBlock);
  }
  plugin->Stop();
  return out;
}

struct ComparisonCase
{
  const char* name;
  int channels;
  bool doublePrecision;
  bool offline;
};

class ClapVst3ComparisonTest : public ::testing::TestWithParam<ComparisonCase>
{
};

TEST_P(ClapVst3ComparisonTest, IdenticalOutput)
{
  const ComparisonCase& c = GetParam();
  ProcessSetup setup;
  setup.sampleRate = 44100.0;
  setup.maxBlockSize = kBlock;
  setup.channels = c.channels;
  setup.doublePrecision = c.doublePrecision;
  setup.offline = c.offline;
  const std::vector<double> clap = Render(VELMORA_CLAP_MODULE, setup);
  const std::vector<double> vst3 = Render(VELMORA_VST3_BUNDLE_PATH, setup);
  ASSERT_EQ(clap.size(), static_cast<size_t>(kBlock * kBlocks * c.channels));
  ASSERT_EQ(clap.size(), vst3.size());
  size_t differing = 0;
  double energy = 0.0;
  for (size_t i = 0; i < clap.size(); ++i)
  {
    differing += clap[i] != vst3[i];
    energy += clap[i] * clap[i];
  }
  EXPECT_EQ(differing, 0u);
  EXPECT_GT(energy, 1.0);
}

INSTANTIATE_TEST_SUITE_P(Setups, ClapVst3ComparisonTest,
                         ::testing::Values(ComparisonCase{"stereo_64bit", 2, true, false},
                                           ComparisonCase{"mono_64bit", 1, true, false},
                                           ComparisonCase{"stereo_32bit", 2, false, false},
                                           ComparisonCase{"stereo_offline", 2, true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
