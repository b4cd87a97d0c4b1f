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

// An engine of the same build, fed the same zeros in the same chunks and then the same signal,
// gives what the plug-in's oversampled path should give once its flush is over.
class ReferenceEngine
{
public:
  ReferenceEngine(int maxBlock, int flushSamples, int chunk)
      : mEngine(kRate, maxBlock, false), mZeros(static_cast<size_t>(maxBlock), 0.0)
  {
    for (int left = flushSamples; left > 0; left -= chunk)
    {
      for (int c = 0; c < 2; ++c)
        mEngine.FlushChannel(c, mZeros.data(), std::min(left, chunk));
    }
  }

  std::vector<double> Process(int channel, const std::vector<double>& input, int nFrames)
  {
    std::vector<double> out(static_cast<size_t>(nFrames));
    mEngine.ProcessChannel(channel, input.data(), out.data(), nFrames, mCoefficients);
    return out;
  }

private:
  velmora::Oversampler mEngine;
  std::vector<double> mZeros;
  velmora::ShaperCoefficients mCoefficients = velmora::ComputeShaperCoefficients({});
};

class FlushTest : public ::testing::TestWithParam<int>
{
};

TEST_P(FlushTest, AfterResetSilenceThenFullLevelWithoutFade)
{
  const int n = GetParam();
  ProcessingHost host;
  Velmora& plugin = host.Plugin();
  plugin.RequestPathSwitch(1.0);
  host.Reset(kRate, n);
  const int m = std::max(n, 1024);
  ASSERT_EQ(plugin.ScratchLength(), m);
  ASSERT_EQ(plugin.ZeroBlockLength(), m);
  const int latency = plugin.GetOversamplingLatency();
  ASSERT_GT(latency, 0);

  const int silent = CeilDiv(m + latency, n);
  for (int block = 0; block < silent; ++block)
  {
    host.Run(n, Tone);
    ASSERT_TRUE(AllZero(host.Output(0), n) && AllZero(host.Output(1), n)) << "block " << block;
  }
  EXPECT_FALSE(plugin.IsFlushPending());

  ReferenceEngine reference(m, m + latency, n);
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

  ReferenceEngine reference(m, m + latency, n);
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

INSTANTIATE_TEST_SUITE_P(BlockSizes, FlushTest, ::testing::Values(1, 64, 256, 1024, 4096));

} // namespace
