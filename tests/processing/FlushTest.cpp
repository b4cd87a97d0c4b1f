#include "dsp/SaturationCurve.h"
#include "tests/processing/ProcessingHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace
{

using velmora::test::AllZero;
using velmora::test::ProcessingHost;

constexpr double kRate = 48000.0;

double Tone(int channel, long long i)
{
  return (channel == 0 ? 0.6 : -0.4) * std::sin(2.0 * 3.141592653589793 * 440.0 * i / kRate);
}

int CeilDiv(int a, int b)
{
  return (a + b - 1) / b;
}

// A fresh engine of the same build, fed the same signal: what the plug-in's oversampled path
// gives when its resamplers start from no history.
class ReferenceEngine
{
public:
  explicit ReferenceEngine(int maxBlock) : mEngine(kRate, maxBlock, false) {}

  std::vector<double> Process(int channel, const std::vector<double>& input, int nFrames)
  {
    std::vector<double> out(static_cast<size_t>(nFrames));
    mEngine.ProcessChannel(channel, input.data(), out.data(), nFrames, mCoefficients);
    return out;
  }

private:
  velmora::Oversampler mEngine;
  velmora::ShaperCoefficients mCoefficients = velmora::ComputeShaperCoefficients({});
};

class FlushTest : public ::testing::TestWithParam<int>
{
};

TEST_P(FlushTest, AfterResetTheOversampledPathPlaysFromTheFirstBlock)
{
  const int n = GetParam();
  ProcessingHost host;
  Velmora& plugin = host.Plugin();
  plugin.RequestPathSwitch(1.0);
  host.Reset(kRate, n);
  const int m = std::max(n, 1024);
  ASSERT_EQ(plugin.ScratchLength(), m);
  ASSERT_GT(plugin.GetOversamplingLatency(), 0);
  EXPECT_FALSE(plugin.IsFlushPending());

  ReferenceEngine reference(m);
  const int checkedBlocks = std::max(1, CeilDiv(2048, n));
  for (int block = 0; block < checkedBlocks; ++block)
  {
    host.Run(n, Tone);
    for (int c = 0; c < 2; ++c)
    {
      const auto expected = reference.Process(c, host.Input(c), n);
      for (int i = 0; i < n; ++i)
        ASSERT_EQ(host.Output(c)[static_cast<size_t>(i)], expected[static_cast<size_t>(i)])
            << "block " << block << " channel " << c << " sample " << i;
    }
  }
}

TEST_P(FlushTest, SwitchOnFadesOutFlushesInSilenceThenFadesIn)
{
  const int n = GetParam();
  ProcessingHost host;
  Velmora& plugin = host.Plugin();
  host.Reset(kRate, n);
  const int m = std::max(n, 1024);
  plugin.RequestPathSwitch(1.0);

  const int fadeOutBlocks = CeilDiv(256, n);
  for (int block = 0; block < fadeOutBlocks; ++block)
    host.Run(n, Tone);
  ASSERT_TRUE(plugin.IsOversamplingOn());
  const int latency = plugin.GetOversamplingLatency();

  const int silent = CeilDiv(m + latency, n);
  for (int block = 0; block < silent; ++block)
  {
    host.Run(n, Tone);
    ASSERT_TRUE(AllZero(host.Output(0), n) && AllZero(host.Output(1), n)) << "block " << block;
  }

  // The resamplers were cleared at the change of path: the fade-in starts from no history.
  ReferenceEngine reference(m);
  const int fadeInBlocks = CeilDiv(256, n);
  for (int block = 0; block < fadeInBlocks + 1; ++block)
  {
    EXPECT_EQ(plugin.IsPathSwitchActive(), block < fadeInBlocks) << "block " << block;
    host.Run(n, Tone);
    for (int c = 0; c < 2; ++c)
    {
      const auto expected = reference.Process(c, host.Input(c), n);
      for (int i = 0; i < n; ++i)
      {
        const double gain = 0.1 + 0.9 * std::min(1.0, (block * n + i) / 256.0);
        ASSERT_NEAR(host.Output(c)[static_cast<size_t>(i)], gain * expected[static_cast<size_t>(i)],
                    1e-15)
            << "block " << block << " channel " << c << " sample " << i;
      }
    }
  }
}

// The resamplers keep the tone they last heard while the plain path runs; switching back on must
// not play it again: with silent input the whole switch stays silent.
TEST_P(FlushTest, HistoryFromAnEarlierUseDoesNotReachTheNextFadeIn)
{
  const int n = GetParam();
  ProcessingHost host;
  Velmora& plugin = host.Plugin();
  plugin.RequestPathSwitch(1.0);
  host.Reset(kRate, n);
  const auto runWhileSwitching = [&](auto&& signal, auto&& check)
  {
    for (int block = 0; plugin.IsPathSwitchActive(); ++block)
    {
      ASSERT_LT(block, CeilDiv(8192, n) + 4) << "the switch does not end";
      host.Run(n, signal);
      check(block);
    }
  };
  for (int block = 0; block < CeilDiv(2048, n); ++block)
    host.Run(n, Tone);

  plugin.RequestPathSwitch(0.0);
  runWhileSwitching(Tone, [](int) {});
  ASSERT_FALSE(plugin.IsOversamplingOn());

  const auto silence = [](int, long long) { return 0.0; };
  plugin.RequestPathSwitch(1.0);
  runWhileSwitching(silence,
                    [&](int block) {
                      EXPECT_TRUE(AllZero(host.Output(0), n) && AllZero(host.Output(1), n))
                          << "block " << block;
                    });
  ASSERT_TRUE(plugin.IsOversamplingOn());
  host.Run(n, silence);
  EXPECT_TRUE(AllZero(host.Output(0), n) && AllZero(host.Output(1), n));
}

INSTANTIATE_TEST_SUITE_P(BlockSizes, FlushTest, ::testing::Values(1, 64, 256, 1024, 4096));

} // namespace
