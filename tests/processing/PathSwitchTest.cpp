#include "tests/processing/ProcessingHost.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{

using velmora::test::ProcessingHost;

constexpr double kRate = 48000.0;

double FadeOutGain(int samplesIntoRamp)
{
  return 1.0 - 0.9 * std::min(1.0, samplesIntoRamp / 256.0);
}

double FadeInGain(int samplesIntoRamp)
{
  return 0.1 + 0.9 * std::min(1.0, samplesIntoRamp / 256.0);
}

// At their defaults the curve passes the input through, so on the plain path a constant input
// of 1 shows the ramp gain itself.
class PathSwitchTest : public ::testing::Test
{
protected:
  void SetUp() override { host.Reset(kRate, 1024); }

  ProcessingHost host;
  Velmora& plugin = host.Plugin();
};

TEST_F(PathSwitchTest, OneLongBlockCarriesTheWholeFadeOutAndThePathChangesAfterIt)
{
  plugin.RequestPathSwitch(1.0);
  ASSERT_TRUE(plugin.IsPathSwitchActive());
  EXPECT_FALSE(plugin.IsOversamplingOn());

  host.RunConstant(1000, 1.0);
  for (int c = 0; c < 2; ++c)
  {
    const auto& out = host.Output(c);
    EXPECT_DOUBLE_EQ(out[0], 1.0);
    EXPECT_DOUBLE_EQ(out[255], 1.0 - 0.9 * 255.0 / 256.0);
    for (int i = 0; i < 1000; ++i)
      ASSERT_DOUBLE_EQ(out[static_cast<size_t>(i)], FadeOutGain(i)) << "sample " << i;
  }
  EXPECT_TRUE(plugin.IsOversamplingOn());
  int latency = -1;
  ASSERT_TRUE(plugin.TakeLatencyReport(latency));
  EXPECT_EQ(latency, plugin.GetOversamplingLatency());
  EXPECT_FALSE(plugin.TakeLatencyReport(latency));
}

TEST_F(PathSwitchTest, FadeInOnThePlainPathStartsAtOneTenthInTheNextBlock)
{
  plugin.RequestPathSwitch(1.0);
  host.Reset(kRate, 1024);
  ASSERT_TRUE(plugin.IsOversamplingOn());
  // Past the filters' settling.
  for (int block = 0; block < 8; ++block)
    host.RunConstant(1000, 1.0);

  plugin.RequestPathSwitch(0.0);
  host.RunConstant(1000, 1.0);
  ASSERT_FALSE(plugin.IsOversamplingOn());
  host.RunConstant(1000, 1.0);
  const auto& out = host.Output(0);
  EXPECT_DOUBLE_EQ(out[0], 0.1);
  for (int i = 0; i < 1000; ++i)
    ASSERT_DOUBLE_EQ(out[static_cast<size_t>(i)], FadeInGain(i)) << "sample " << i;
  EXPECT_FALSE(plugin.IsPathSwitchActive());
  int latency = -1;
  ASSERT_TRUE(plugin.TakeLatencyReport(latency));
  EXPECT_EQ(latency, 0);
}

TEST_F(PathSwitchTest, WithSmallBlocksTheFadeOutTakesFourBlocks)
{
  plugin.RequestPathSwitch(1.0);
  for (int block = 0; block < 4; ++block)
  {
    EXPECT_FALSE(plugin.IsOversamplingOn()) << "before block " << block;
    host.RunConstant(64, 1.0);
    for (int i = 0; i < 64; ++i)
      ASSERT_DOUBLE_EQ(host.Output(1)[static_cast<size_t>(i)], FadeOutGain(block * 64 + i));
  }
  EXPECT_TRUE(plugin.IsOversamplingOn());
}

TEST_F(PathSwitchTest, OnThenOffBeforeTheFadeOutEndsOnlyDips)
{
  ProcessingHost reference;
  reference.Reset(kRate, 1024);
  const auto signal = [](int, long long i)
  { return 0.7 * std::sin(0.01 * static_cast<double>(i)); };

  plugin.RequestPathSwitch(1.0);
  for (int block = 0; block < 16; ++block)
  {
    if (block == 1)
    {
      plugin.RequestPathSwitch(0.0);
      EXPECT_TRUE(plugin.IsPathSwitchActive());
    }
    host.Run(64, signal);
    reference.Run(64, signal);
    for (int i = 0; i < 64; ++i)
    {
      const int t = block * 64 + i;
      const double gain = t < 256 ? FadeOutGain(t) : FadeInGain(t - 256);
      ASSERT_NEAR(host.Output(0)[static_cast<size_t>(i)],
                  gain * reference.Output(0)[static_cast<size_t>(i)], 1e-15)
          << "sample " << t;
    }
  }
  EXPECT_FALSE(plugin.IsOversamplingOn());
  EXPECT_FALSE(plugin.IsPathSwitchActive());
  int latency = -1;
  ASSERT_TRUE(plugin.TakeLatencyReport(latency));
  EXPECT_EQ(latency, 0);
}

TEST_F(PathSwitchTest, RequestBackToTheOversampledPathStillFlushesAndFadesIn)
{
  plugin.RequestPathSwitch(1.0);
  host.Reset(kRate, 256);
  for (int block = 0; block < 4; ++block)
    host.RunConstant(256, 1.0);

  plugin.RequestPathSwitch(0.0);
  host.RunConstant(64, 1.0);
  plugin.RequestPathSwitch(1.0);
  host.RunConstant(192, 1.0);
  ASSERT_TRUE(plugin.IsOversamplingOn());
  ASSERT_TRUE(plugin.IsFlushPending());
  int latency = -1;
  ASSERT_TRUE(plugin.TakeLatencyReport(latency));
  EXPECT_EQ(latency, plugin.GetOversamplingLatency());

  const int silent = (plugin.ScratchLength() + plugin.GetOversamplingLatency() + 255) / 256;
  for (int block = 0; block < silent; ++block)
  {
    host.RunConstant(256, 1.0);
    ASSERT_TRUE(velmora::test::AllZero(host.Output(0), 256)) << "block " << block;
  }
  EXPECT_TRUE(plugin.IsPathSwitchActive());
  host.RunConstant(256, 1.0);
  EXPECT_FALSE(plugin.IsPathSwitchActive());
}

TEST_F(PathSwitchTest, ResetDuringAFadeEndsItAndRunsTheRequestedPath)
{
  plugin.RequestPathSwitch(1.0);
  host.RunConstant(64, 1.0);
  ASSERT_TRUE(plugin.IsPathSwitchActive());

  host.Reset(kRate, 1024);
  EXPECT_FALSE(plugin.IsPathSwitchActive());
  EXPECT_TRUE(plugin.IsOversamplingOn());
  EXPECT_TRUE(plugin.IsOversamplingRequested());
  EXPECT_FALSE(plugin.IsFlushPending());
}

TEST_F(PathSwitchTest, ResetDuringAFadeBackToThePlainPathLeavesFullLevel)
{
  plugin.RequestPathSwitch(1.0);
  host.RunConstant(64, 1.0);
  plugin.RequestPathSwitch(0.0);
  host.Reset(kRate, 1024);
  EXPECT_FALSE(plugin.IsOversamplingOn());
  host.RunConstant(64, 1.0);
  for (int i = 0; i < 64; ++i)
    ASSERT_DOUBLE_EQ(host.Output(0)[static_cast<size_t>(i)], 1.0);
}

TEST_F(PathSwitchTest, RequestDuringAFadeInStartsTheNextSwitchWhenItEnds)
{
  plugin.RequestPathSwitch(1.0);
  host.Reset(kRate, 1024);
  for (int block = 0; block < 8; ++block)
    host.RunConstant(1000, 1.0);
  plugin.RequestPathSwitch(0.0);
  host.RunConstant(256, 1.0); // fade-out on the oversampled path
  ASSERT_FALSE(plugin.IsOversamplingOn());
  host.RunConstant(128, 1.0); // first half of the fade-in
  plugin.RequestPathSwitch(1.0);
  EXPECT_FALSE(plugin.IsOversamplingOn());
  host.RunConstant(128, 1.0); // fade-in completes, the new fade-out begins
  EXPECT_TRUE(plugin.IsPathSwitchActive());
  EXPECT_DOUBLE_EQ(host.Output(0)[127], FadeInGain(255));

  host.RunConstant(256, 1.0);
  for (int i = 0; i < 256; ++i)
    ASSERT_DOUBLE_EQ(host.Output(0)[static_cast<size_t>(i)], FadeOutGain(i)) << "sample " << i;
  EXPECT_TRUE(plugin.IsOversamplingOn());
}

TEST_F(PathSwitchTest, RequestForThePathInUseChangesNothing)
{
  plugin.RequestPathSwitch(0.0);
  plugin.RequestPathSwitch(0.49);
  EXPECT_FALSE(plugin.IsPathSwitchActive());
  plugin.RequestPathSwitch(0.5);
  EXPECT_TRUE(plugin.IsPathSwitchActive());
  EXPECT_TRUE(plugin.IsOversamplingRequested());
}

TEST_F(PathSwitchTest, NeverResetRunsThePlainPathEvenWithOversamplingRequested)
{
  ProcessingHost fresh;
  Velmora& p = fresh.Plugin();
  p.RequestPathSwitch(1.0);
  for (int block = 0; block < 5; ++block)
    fresh.RunConstant(64, 0.5);
  EXPECT_TRUE(p.IsOversamplingOn());
  EXPECT_EQ(p.GetOversampler(), nullptr);
  // No engine and no working buffer yet: the plain path has nothing to stage blocks in.
  EXPECT_TRUE(velmora::test::AllZero(fresh.Output(0), 64));
}

struct OfflineCase
{
  const char* name;
  double oversampling;
};

void PrintTo(const OfflineCase& value, std::ostream* os)
{
  *os << value.name;
}

class OfflineRuleTest : public ::testing::TestWithParam<OfflineCase>
{
};

TEST_P(OfflineRuleTest, OfflineResetForcesQualityThreeAndRealTimeRestoresTheUsersPath)
{
  ProcessingHost host;
  Velmora& plugin = host.Plugin();
  const bool user = GetParam().oversampling >= 0.5;
  plugin.GetParam(kOversampling)->Set(GetParam().oversampling);
  plugin.RequestPathSwitch(GetParam().oversampling);
  host.Reset(kRate, 512);
  ASSERT_EQ(plugin.IsOversamplingOn(), user);

  host.Reset(kRate, 512, true);
  EXPECT_TRUE(plugin.IsOversamplingOn());
  ASSERT_NE(plugin.GetOversampler(), nullptr);
  EXPECT_EQ(plugin.GetOversampler()->GetQuality(), 3);
  host.Reset(kRate, 512, true);
  EXPECT_TRUE(plugin.IsOversamplingOn());

  host.Reset(kRate, 512, false);
  EXPECT_EQ(plugin.IsOversamplingOn(), user);
  EXPECT_EQ(plugin.GetOversampler()->GetQuality(), 2);
  EXPECT_EQ(plugin.GetParam(kOversampling)->Value(), GetParam().oversampling);
}

INSTANTIATE_TEST_SUITE_P(UserPaths, OfflineRuleTest,
                         ::testing::Values(OfflineCase{"Off", 0.0}, OfflineCase{"On", 1.0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(OfflineRule, ChoiceMadeWhileRenderingOfflineHoldsAfterwards)
{
  ProcessingHost host;
  Velmora& plugin = host.Plugin();
  host.Reset(kRate, 512, true);
  ASSERT_TRUE(plugin.IsOversamplingOn());
  plugin.RequestPathSwitch(1.0);
  host.Reset(kRate, 512, false);
  EXPECT_TRUE(plugin.IsOversamplingOn());
}

// A restored state reaches the switch as a request; hosts restore before or after set-up.
TEST(HostOrder, RestoreThenResetRunsTheRestoredPathAtOnce)
{
  ProcessingHost host;
  Velmora& plugin = host.Plugin();
  plugin.RequestPathSwitch(1.0);
  host.Reset(kRate, 512);
  EXPECT_TRUE(plugin.IsOversamplingOn());
  EXPECT_FALSE(plugin.IsPathSwitchActive());
}

TEST(HostOrder, ResetThenRestoreSwitchesWithAFade)
{
  ProcessingHost host;
  Velmora& plugin = host.Plugin();
  host.Reset(kRate, 512);
  plugin.RequestPathSwitch(1.0);
  EXPECT_TRUE(plugin.IsPathSwitchActive());
  host.RunConstant(256, 1.0);
  EXPECT_TRUE(plugin.IsOversamplingOn());
}

} // namespace
