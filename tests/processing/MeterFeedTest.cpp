#include "tests/processing/ProcessingHost.h"

#include <gtest/gtest.h>

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

} // namespace
