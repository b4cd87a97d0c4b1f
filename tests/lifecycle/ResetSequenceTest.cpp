#include "tests/lifecycle/LifecycleHarness.h"

#include <gtest/gtest.h>

#include <cmath>

using lifecycle_test::PluginHarness;

namespace
{

// The input-left level after one block of constant full scale, as the idle step delivers it.
float InputLevelAfter(PluginHarness& h, int nFrames)
{
  h.Editor().Deliveries().clear();
  h.Process(1, nFrames, 1.0);
  h.Plugin().OnTimer();
  for (const auto& d : h.Editor().Deliveries())
  {
    if (d.controlTag == 1)
      return d.value;
  }
  ADD_FAILURE() << "no input-left reading delivered";
  return -1.f;
}

} // namespace

// One millisecond of full scale brings a follower with a 1 ms attack to 1 - 1/e at any rate,
// but only if the followers run at the rate of the reset.
TEST(ResetSequence, FollowersTakeTheRateAndStartFromSilence)
{
  for (const double rate : {44100.0, 48000.0, 96000.0, 192000.0})
  {
    SCOPED_TRACE(rate);
    PluginHarness h(44100.0);
    h.Plugin().OpenEditor();
    h.Plugin().SetSampleRate(rate);
    h.Plugin().OnReset();
    const int oneMs = static_cast<int>(std::lround(rate / 1000.0));
    const double expected = 1.0 - std::exp(-static_cast<double>(oneMs) * 1000.0 / rate);
    EXPECT_NEAR(InputLevelAfter(h, oneMs), expected, 1e-5);
    // A reset drops the level reached: from 0, a silent sample leaves it at 0.
    h.Plugin().OnReset();
    h.Editor().Deliveries().clear();
    h.Process(1, 1, 0.0);
    h.Plugin().OnTimer();
    ASSERT_FALSE(h.Editor().Deliveries().empty());
    for (const auto& d : h.Editor().Deliveries())
      EXPECT_EQ(d.value, 0.f) << "tag " << d.controlTag;
  }
}

TEST(ResetSequence, WorkingBufferCoversTheLargerOfBlockSizeAnd1024)
{
  struct Case
  {
    int blockSize;
    int expected;
  };
  PluginHarness h;
  for (const Case c : {Case{256, 1024}, Case{4096, 4096}, Case{1, 1024}, Case{1024, 1024},
                       Case{1025, 1025}, Case{512, 1024}})
  {
    SCOPED_TRACE(c.blockSize);
    h.Plugin().SetBlockSize(c.blockSize);
    h.Plugin().OnReset();
    EXPECT_EQ(h.Plugin().ScratchLength(), c.expected);
    // A block of the announced maximum is processed, not silenced.
    h.Process(1, c.expected, 0.5);
    EXPECT_DOUBLE_EQ(h.Output(0).back(), 0.5);
  }
}

TEST(ResetSequence, CancelsARunningSwitchAndRebuildsTheEngine)
{
  PluginHarness h;
  ASSERT_NE(h.Plugin().GetOversampler(), nullptr);
  h.Edit(kOversampling, 1.0);
  h.Process(1, 64, 0.5);
  ASSERT_TRUE(h.Plugin().IsPathSwitchActive());
  h.Plugin().OnReset();
  EXPECT_FALSE(h.Plugin().IsPathSwitchActive());
  EXPECT_EQ(h.Plugin().IsOversamplingOn(), h.Plugin().IsOversamplingRequested());
  EXPECT_GT(h.Plugin().GetOversamplingLatency(), 0);
  // The latency of whichever path the reset left in use is what the host was told.
  const int inUse = h.Plugin().IsOversamplingOn() ? h.Plugin().GetOversamplingLatency() : 0;
  EXPECT_EQ(h.Plugin().GetLatency(), inUse);
  ASSERT_FALSE(h.Host().LatencyReports().empty());
  EXPECT_EQ(h.Host().LatencyReports().back(), inUse);
}

// Each case: how the instance is set up before its resets, and whether the path in use then is
// the oversampled one.
TEST(ResetSequence, ReportsThePathInUseOnceForEqualResets)
{
  struct Case
  {
    const char* name;
    bool oversampling;
    bool offline;
  };
  for (const Case c : {Case{"plain", false, false}, Case{"oversampled", true, false},
                       Case{"offline render forces oversampling", false, true}})
  {
    SCOPED_TRACE(c.name);
    lifecycle_test::HostStandIn host;
    Velmora plugin(host.MakeInstanceInfo());
    plugin.SetSampleRate(48000.0);
    plugin.SetBlockSize(512);
    plugin.GetParam(kOversampling)->Set(c.oversampling ? 1.0 : 0.0);
    plugin.OnParamChangeUI(kOversampling, iplug::EParamSource::kHost);
    plugin.SetRenderingOffline(c.offline);
    EXPECT_EQ(plugin.GetLatency(), 0);
    plugin.OnReset();
    const bool oversampled = c.oversampling || c.offline;
    EXPECT_EQ(plugin.IsOversamplingOn(), oversampled);
    const int expected = oversampled ? plugin.GetOversamplingLatency() : 0;
    EXPECT_EQ(expected > 0, oversampled);
    EXPECT_EQ(host.LatencyReports(), std::vector<int>{expected});
    plugin.OnReset();
    EXPECT_EQ(host.LatencyReports(), std::vector<int>{expected});
    EXPECT_EQ(plugin.GetLatency(), expected);
  }
}

TEST(ResetSequence, TheFirstRealTimeResetAfterOfflineRenderingReportsTheUserPath)
{
  PluginHarness h;
  h.Plugin().SetRenderingOffline(true);
  h.Plugin().OnReset();
  const int offlineLatency = h.Plugin().GetOversamplingLatency();
  h.Plugin().SetRenderingOffline(false);
  h.Plugin().OnReset();
  EXPECT_FALSE(h.Plugin().IsOversamplingOn());
  EXPECT_EQ(h.Host().LatencyReports(), (std::vector<int>{0, offlineLatency, 0}));
  EXPECT_EQ(h.Plugin().GetParam(kOversampling)->Value(), 0.0);
}

// A latency the audio thread queued before a reset is not reported afterwards: the reset's own
// report supersedes it.
TEST(ResetSequence, SupersedesAQueuedLatencyReport)
{
  PluginHarness h;
  h.Edit(kOversampling, 1.0);
  h.Process(4, 64, 0.5);
  ASSERT_TRUE(h.Plugin().IsOversamplingOn());
  h.Edit(kOversampling, 0.0);
  h.Plugin().OnReset();
  const auto reports = h.Host().LatencyReports();
  h.Plugin().OnTimer();
  EXPECT_EQ(h.Host().LatencyReports(), reports);
  EXPECT_EQ(h.Plugin().GetLatency(),
            h.Plugin().IsOversamplingOn() ? h.Plugin().GetOversamplingLatency() : 0);
}
