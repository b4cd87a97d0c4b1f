#include "tests/processing/ProcessingHost.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <vector>

namespace
{

using velmora::test::ProcessingHost;
using Reading = iplug::ISenderData<1, float>;

constexpr double kRate = 48000.0;

// Records every control message in arrival order.
class RecordingDelegate : public iplug::IEditorDelegate
{
public:
  void SendControlMsgFromDelegate(int ctrlTag, int msgTag, int dataSize, const void* data) override
  {
    ASSERT_EQ(msgTag, 0);
    ASSERT_EQ(dataSize, 16);
    Reading reading;
    std::memcpy(&reading, data, sizeof(reading));
    EXPECT_EQ(reading.ctrlTag, ctrlTag);
    readings.push_back(reading);
  }

  std::vector<Reading> readings;
};

std::vector<Reading> Drain(Velmora& plugin, int meter)
{
  RecordingDelegate delegate;
  plugin.GetMeterSender(meter).TransmitData(delegate);
  return delegate.readings;
}

float LastLevel(Velmora& plugin, int meter)
{
  const auto readings = Drain(plugin, meter);
  return readings.empty() ? -1.0f : readings.back().vals[0];
}

TEST(MeterFeed, EachBlockPushesOneReadingPerMeterWithItsTag)
{
  ProcessingHost host;
  host.Plugin().StartMeterFeed();
  host.Reset(kRate, 64);
  host.Run(64, [](int c, long long) { return c == 0 ? 0.5 : -0.25; });
  for (int meter = 0; meter < Velmora::kNumMeters; ++meter)
  {
    const auto readings = Drain(host.Plugin(), meter);
    ASSERT_EQ(readings.size(), 1u);
    EXPECT_EQ(readings[0].ctrlTag, meter + 1);
    EXPECT_EQ(readings[0].nChans, 1);
    EXPECT_EQ(readings[0].chanOffset, 0);
    EXPECT_GT(readings[0].vals[0], 0.0f);
  }
}

TEST(MeterFeed, MonoFeedsBothSides)
{
  ProcessingHost host(1);
  host.Plugin().StartMeterFeed();
  host.Reset(kRate, 64);
  host.Run(64, [](int, long long i) { return 0.3 * std::sin(0.1 * static_cast<double>(i)); });
  const float inL = LastLevel(host.Plugin(), 0);
  EXPECT_GT(inL, 0.0f);
  EXPECT_EQ(LastLevel(host.Plugin(), 1), inL);
  const float outL = LastLevel(host.Plugin(), 2);
  EXPECT_GT(outL, 0.0f);
  EXPECT_EQ(LastLevel(host.Plugin(), 3), outL);
}

TEST(MeterFeed, FullQueueDropsNewReadingsAndKeepsTheQueuedOnesInOrder)
{
  ProcessingHost host;
  host.Plugin().StartMeterFeed();
  host.Reset(kRate, 16);
  for (int block = 0; block < 80; ++block)
    host.RunConstant(16, 0.01 * (block + 1));
  const auto readings = Drain(host.Plugin(), 0);
  ASSERT_EQ(readings.size(), 64u);
  for (size_t i = 1; i < readings.size(); ++i)
    EXPECT_GT(readings[i].vals[0], readings[i - 1].vals[0]) << i;

  // Once drained, the queue takes readings again: the next one is the newest level.
  host.RunConstant(16, 1.0);
  const auto after = Drain(host.Plugin(), 0);
  ASSERT_EQ(after.size(), 1u);
  EXPECT_GT(after[0].vals[0], readings.back().vals[0]);
}

TEST(MeterFeed, FlushedBlockStillPushesDecayingLevels)
{
  ProcessingHost host;
  host.Plugin().StartMeterFeed();
  host.Reset(kRate, 64);
  for (int block = 0; block < 10; ++block)
    host.RunConstant(64, 0.8);
  for (int k = 0; k < Velmora::kNumMeters; ++k)
    Drain(host.Plugin(), k);

  host.Plugin().RequestPathSwitch(1.0);
  for (int block = 0; block < 4; ++block)
    host.RunConstant(64, 0.8);
  ASSERT_TRUE(host.Plugin().IsFlushPending());
  const float before = LastLevel(host.Plugin(), 2);
  host.RunConstant(64, 0.8);
  ASSERT_TRUE(velmora::test::AllZero(host.Output(0), 64));
  const float during = LastLevel(host.Plugin(), 2);
  EXPECT_GT(during, 0.0f);
  EXPECT_LT(during, before);
}

TEST(MeterFeed, InputLevelsLagByTheLatencyUnderOversampling)
{
  for (const bool oversampled : {false, true})
  {
    ProcessingHost host;
    Velmora& plugin = host.Plugin();
    plugin.StartMeterFeed();
    plugin.RequestPathSwitch(oversampled ? 1.0 : 0.0);
    host.Reset(kRate, 1);
    const int lag = oversampled ? plugin.GetOversamplingLatency() : 0;
    ASSERT_EQ(plugin.GetMeterDelay(), plugin.GetOversamplingLatency());
    ASSERT_TRUE(!oversampled || lag > 0);

    // A single-sample step: the input meter stays at 0 until the step has come through the delay.
    for (int i = 0; i < lag + 3; ++i)
    {
      host.RunConstant(1, 1.0);
      const float level = LastLevel(plugin, 0);
      if (i < lag)
      {
        ASSERT_EQ(level, 0.0f) << "sample " << i;
      }
      else
      {
        ASSERT_GT(level, 0.0f) << "sample " << i;
      }
    }
  }
}

// The followers run only while an editor shows the meters (its feed is on). Each start has them
// begin from 0, the delayed input from silence, as after a reset.
TEST(MeterFeed, FollowersRunOnlyWhileTheFeedIsOnAndStartFromZero)
{
  constexpr int kBlock = 48;
  const double attack = std::exp(-1000.0 / kRate);
  for (const bool oversampled : {false, true})
  {
    SCOPED_TRACE(oversampled ? "oversampled" : "plain");
    ProcessingHost host;
    Velmora& plugin = host.Plugin();
    plugin.RequestPathSwitch(oversampled ? 1.0 : 0.0);
    host.Reset(kRate, kBlock);
    const int lag = oversampled ? plugin.GetMeterDelay() : 0;
    ASSERT_LT(lag, kBlock);
    const auto drainAll = [&]
    {
      size_t readings = 0;
      for (int k = 0; k < Velmora::kNumMeters; ++k)
        readings += Drain(plugin, k).size();
      return readings;
    };

    for (int block = 0; block < 10; ++block)
      host.RunConstant(kBlock, 1.0);
    EXPECT_EQ(drainAll(), 0u) << "before any editor";

    plugin.StartMeterFeed();
    host.RunConstant(kBlock, 1.0);
    std::array<float, Velmora::kNumMeters> levels{};
    for (int k = 0; k < Velmora::kNumMeters; ++k)
    {
      const auto readings = Drain(plugin, k);
      ASSERT_EQ(readings.size(), 1u) << "meter " << k;
      levels[static_cast<size_t>(k)] = readings[0].vals[0];
    }
    // From 0, an input meter rises by its attack over the samples past the delay.
    EXPECT_NEAR(levels[0], 1.0 - std::pow(attack, kBlock - lag), 1e-6);
    EXPECT_EQ(levels[1], levels[0]);
    EXPECT_GT(levels[2], 0.5f);

    plugin.StopMeterFeed();
    for (int block = 0; block < 10; ++block)
      host.RunConstant(kBlock, 1.0);
    EXPECT_EQ(drainAll(), 0u) << "after the editor closed";

    // Followers carried over from before would still read close to full scale here, and a stale
    // delay would bring the earlier full-scale input out first. The output meters follow what
    // the block put out (on the oversampled path the tail of the earlier input), from 0.
    plugin.StartMeterFeed();
    host.RunConstant(kBlock, 0.0);
    const double release = std::exp(-1000.0 / (275.0 * kRate));
    double outputLevel = 0.0;
    for (int i = 0; i < kBlock; ++i)
    {
      const double x = std::fabs(host.Output(0)[static_cast<size_t>(i)]);
      outputLevel = x + (x > outputLevel ? attack : release) * (outputLevel - x);
    }
    EXPECT_EQ(oversampled, outputLevel > 0.0);
    const std::array<double, Velmora::kNumMeters> expected{0.0, 0.0, outputLevel, outputLevel};
    for (int k = 0; k < Velmora::kNumMeters; ++k)
      EXPECT_NEAR(LastLevel(plugin, k), expected[static_cast<size_t>(k)], 1e-6) << "meter " << k;
  }
}

} // namespace
