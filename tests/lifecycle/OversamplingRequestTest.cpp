#include "tests/lifecycle/LifecycleHarness.h"

#include <gtest/gtest.h>

using lifecycle_test::PluginHarness;

TEST(OversamplingRequest, SwitchingOnFadesChangesPathAndReportsAtTheNextIdleStep)
{
  PluginHarness h;
  ASSERT_EQ(h.Host().LatencyReports(), std::vector<int>{0});
  h.Edit(kOversampling, 1.0);
  EXPECT_TRUE(h.Plugin().IsPathSwitchActive());
  EXPECT_FALSE(h.Plugin().IsOversamplingOn());

  // The first quarter of the fade-out: level falls, the plain path still runs.
  h.Process(1, 64, 0.5);
  EXPECT_DOUBLE_EQ(h.Output(0).front(), 0.5);
  EXPECT_LT(h.Output(0).back(), 0.5 * 0.8);
  EXPECT_FALSE(h.Plugin().IsOversamplingOn());
  h.Process(3, 64, 0.5);
  EXPECT_TRUE(h.Plugin().IsOversamplingOn());

  // The audio thread only queues the new latency; the host hears of it at the idle step.
  EXPECT_EQ(h.Host().LatencyReports(), std::vector<int>{0});
  h.Plugin().OnTimer();
  const int latency = h.Plugin().GetOversamplingLatency();
  ASSERT_GT(latency, 0);
  EXPECT_EQ(h.Host().LatencyReports(), (std::vector<int>{0, latency}));
  EXPECT_EQ(h.Plugin().GetLatency(), latency);
  h.Plugin().OnTimer();
  EXPECT_EQ(h.Host().LatencyReports(), (std::vector<int>{0, latency}));

  h.SettleSwitch();
  h.Edit(kOversampling, 0.0);
  h.SettleSwitch();
  EXPECT_FALSE(h.Plugin().IsOversamplingOn());
  h.Plugin().OnTimer();
  EXPECT_EQ(h.Host().LatencyReports(), (std::vector<int>{0, latency, 0}));
  EXPECT_EQ(h.Plugin().GetLatency(), 0);
}

TEST(OversamplingRequest, OnThenOffWithinTheFadeOutReportsNothing)
{
  PluginHarness h;
  h.Edit(kOversampling, 1.0);
  h.Process(1, 64, 0.5);
  h.Edit(kOversampling, 0.0);
  h.SettleSwitch();
  h.Plugin().OnTimer();
  EXPECT_FALSE(h.Plugin().IsOversamplingOn());
  EXPECT_EQ(h.Host().LatencyReports(), std::vector<int>{0});
}

TEST(OversamplingRequest, OtherParametersAndUnchangedValuesNeverStartAFade)
{
  PluginHarness h;
  for (int i = 0; i < kNumParams; ++i)
  {
    SCOPED_TRACE(i);
    const double unchanged = h.Plugin().GetParam(i)->GetNormalized();
    h.Edit(i, i == kOversampling ? unchanged : 0.8);
    EXPECT_FALSE(h.Plugin().IsPathSwitchActive());
    h.Plugin().OnParamReset(iplug::EParamSource::kPresetRecall);
    EXPECT_FALSE(h.Plugin().IsPathSwitchActive());
    h.Plugin().OnRestoreState();
    EXPECT_FALSE(h.Plugin().IsPathSwitchActive());
  }
  h.Process(2, 64, 0.5);
  EXPECT_FALSE(h.Plugin().IsOversamplingOn());
  h.Plugin().OnTimer();
  EXPECT_EQ(h.Host().LatencyReports(), std::vector<int>{0});
}

// Host automation reaches OnParamChange on the audio thread; for "Oversampling" that must do
// nothing, the switch being the main thread's business.
TEST(OversamplingRequest, AudioThreadChangeHandlingIgnoresTheSwitch)
{
  PluginHarness h;
  h.Plugin().GetParam(kOversampling)->Set(1.0);
  std::thread audio([&]
                    { h.Plugin().OnParamChange(kOversampling, iplug::EParamSource::kHost, 0); });
  audio.join();
  EXPECT_FALSE(h.Plugin().IsPathSwitchActive());
  EXPECT_FALSE(h.Plugin().IsOversamplingRequested());
}
