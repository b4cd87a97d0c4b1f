#include "tests/processing/ProcessingHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <xmmintrin.h>

namespace
{

using velmora::test::AllZero;
using velmora::test::ProcessingHost;

constexpr double kRate = 48000.0;
constexpr unsigned int kFtzDaz = 0x8040;

double Tone(int, long long i)
{
  return 0.5 * std::sin(0.05 * static_cast<double>(i));
}

// Restores the control register a test changed, whatever the test's outcome.
class ControlRegisterScope
{
public:
  explicit ControlRegisterScope(unsigned int value) : mSaved(_mm_getcsr()) { _mm_setcsr(value); }
  ~ControlRegisterScope() { _mm_setcsr(mSaved); }

private:
  unsigned int mSaved;
};

struct PathCase
{
  const char* name;
  bool oversampled;
};

void PrintTo(const PathCase& value, std::ostream* os)
{
  *os << value.name;
}

class BlockProcessingTest : public ::testing::TestWithParam<PathCase>
{
protected:
  void SetUp() override
  {
    host.Plugin().RequestPathSwitch(GetParam().oversampled ? 1.0 : 0.0);
    host.Plugin().StartMeterFeed();
    host.Reset(kRate, 256);
    for (int block = 0; block < 12; ++block)
      host.Run(256, Tone);
    ASSERT_EQ(host.Plugin().IsOversamplingOn(), GetParam().oversampled);
    ASSERT_FALSE(host.Plugin().IsFlushPending());
  }

  ProcessingHost host;
};

TEST_P(BlockProcessingTest, ControlRegisterHasFtzDazInsideAndIsRestoredAfter)
{
  for (const unsigned int before : {0x1F80u, 0x1FC0u, 0x9F80u, 0x1F80u | kFtzDaz})
  {
    const ControlRegisterScope scope(before);
    // A denormal input comes out as zero only when denormals are treated as zero.
    host.RunConstant(64, 1e-310);
    EXPECT_EQ(_mm_getcsr(), before);
    if (!GetParam().oversampled)
    {
      EXPECT_TRUE(AllZero(host.Output(0), 64));
    }
  }
}

TEST_P(BlockProcessingTest, ControlRegisterIsRestoredOnEarlyExits)
{
  const ControlRegisterScope scope(0x1F80u);
  host.RunConstant(0, 1.0);
  EXPECT_EQ(_mm_getcsr(), 0x1F80u);
  host.Plugin().SetChannelConnections(2, 0);
  host.RunConstant(64, 1.0);
  EXPECT_EQ(_mm_getcsr(), 0x1F80u);
}

TEST_P(BlockProcessingTest, BlockLongerThanTheEngineBlockIsSilent)
{
  host.RunConstant(1025, 0.5);
  EXPECT_TRUE(AllZero(host.Output(0), 1025));
  EXPECT_TRUE(AllZero(host.Output(1), 1025));
  host.Run(1024, Tone);
  EXPECT_FALSE(AllZero(host.Output(0), 1024));
}

TEST_P(BlockProcessingTest, NonFiniteSamplesAreSilenceAndLeaveNoTrace)
{
  const double kBad[] = {std::numeric_limits<double>::quiet_NaN(),
                         std::numeric_limits<double>::infinity(),
                         -std::numeric_limits<double>::infinity()};
  ProcessingHost reference;
  reference.Plugin().RequestPathSwitch(GetParam().oversampled ? 1.0 : 0.0);
  reference.Reset(kRate, 256);
  for (int block = 0; block < 12; ++block)
    reference.Run(256, Tone);

  for (const double bad : kBad)
  {
    // The same signal with one non-finite sample in each channel reads as that sample zeroed.
    const auto withBad = [bad](int c, long long i) { return i % 256 == 17 + c ? bad : Tone(c, i); };
    const auto withZero = [](int c, long long i) { return i % 256 == 17 + c ? 0.0 : Tone(c, i); };
    host.Run(256, withBad);
    reference.Run(256, withZero);
    for (int c = 0; c < 2; ++c)
    {
      for (int i = 0; i < 256; ++i)
      {
        ASSERT_TRUE(std::isfinite(host.Output(c)[static_cast<size_t>(i)]));
        ASSERT_EQ(host.Output(c)[static_cast<size_t>(i)],
                  reference.Output(c)[static_cast<size_t>(i)]);
      }
    }
  }
  host.Run(256, Tone);
  reference.Run(256, Tone);
  for (int i = 0; i < 256; ++i)
    ASSERT_EQ(host.Output(1)[static_cast<size_t>(i)], reference.Output(1)[static_cast<size_t>(i)]);
}

TEST_P(BlockProcessingTest, ZeroFramesAndZeroChannelsDoNothing)
{
  Velmora& plugin = host.Plugin();
  host.RunConstant(0, 1.0);
  host.RunConstant(-5, 1.0);
  plugin.SetChannelConnections(0, 0);
  host.RunConstant(64, 1.0);
  iplug::ISenderData<1, float> reading;
  for (int k = 0; k < Velmora::kNumMeters; ++k)
  {
    int count = 0;
    while (plugin.GetMeterSender(k).PopData(reading))
      ++count;
    EXPECT_EQ(count, 12) << "meter " << k;
  }
  EXPECT_TRUE(AllZero(host.Output(0), 64));
}

// Without an editor the followers do not run: the output is the same to the bit.
TEST_P(BlockProcessingTest, TheMeterFeedLeavesTheOutputAlone)
{
  ProcessingHost withoutEditor;
  withoutEditor.Plugin().RequestPathSwitch(GetParam().oversampled ? 1.0 : 0.0);
  withoutEditor.Reset(kRate, 256);
  for (int block = 0; block < 12; ++block)
    withoutEditor.Run(256, Tone);
  ASSERT_FALSE(withoutEditor.Plugin().IsMeterFeedOn());
  for (const int frames : {256, 100, 1})
  {
    host.Run(frames, Tone);
    withoutEditor.Run(frames, Tone);
    for (int c = 0; c < 2; ++c)
    {
      for (int i = 0; i < frames; ++i)
        ASSERT_EQ(withoutEditor.Output(c)[static_cast<size_t>(i)],
                  host.Output(c)[static_cast<size_t>(i)])
            << "channel " << c << ", frame " << i << " of " << frames;
    }
  }
}

TEST_P(BlockProcessingTest, SingleFrameBlocksMatchOneLargeBlock)
{
  ProcessingHost reference;
  reference.Plugin().RequestPathSwitch(GetParam().oversampled ? 1.0 : 0.0);
  reference.Reset(kRate, 256);
  for (int block = 0; block < 12; ++block)
    reference.Run(256, Tone);

  reference.Run(256, Tone);
  for (int i = 0; i < 256; ++i)
  {
    host.Run(1, [i](int c, long long) { return Tone(c, 12 * 256 + i); });
    ASSERT_NEAR(host.Output(0)[0], reference.Output(0)[static_cast<size_t>(i)], 1e-12);
  }
}

TEST_P(BlockProcessingTest, MonoProcessesOneChannelOnly)
{
  ProcessingHost mono(1);
  ProcessingHost stereo(2);
  for (ProcessingHost* h : {&mono, &stereo})
  {
    h->Plugin().RequestPathSwitch(GetParam().oversampled ? 1.0 : 0.0);
    h->Reset(kRate, 256);
  }
  for (int block = 0; block < 12; ++block)
  {
    mono.Run(256, Tone);
    stereo.Run(256, Tone);
    for (int i = 0; i < 256; ++i)
      ASSERT_EQ(mono.Output(0)[static_cast<size_t>(i)], stereo.Output(0)[static_cast<size_t>(i)]);
  }
}

TEST_P(BlockProcessingTest, MissingBuffersReadAsSilenceAndAreNotWritten)
{
  Velmora& plugin = host.Plugin();
  std::vector<double> left(64, 0.5);
  double* noInputs[] = {nullptr, nullptr};
  double* oneOutput[] = {left.data(), nullptr};
  for (int block = 0; block < 40; ++block)
    plugin.ProcessBlock(noInputs, oneOutput, 64);
  EXPECT_TRUE(AllZero(left, 64));
  plugin.ProcessBlock(nullptr, oneOutput, 64);
  EXPECT_TRUE(AllZero(left, 64));
  plugin.ProcessBlock(nullptr, nullptr, 64);
}

INSTANTIATE_TEST_SUITE_P(Paths, BlockProcessingTest,
                         ::testing::Values(PathCase{"Plain", false}, PathCase{"Oversampled", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BlockProcessing, HostBlockBeyondTheResamplersReachRunsThePlainPath)
{
  ProcessingHost host;
  Velmora& plugin = host.Plugin();
  plugin.RequestPathSwitch(1.0);
  const int block = velmora::CDSPResampler::kMaxInLen / 4 + 1;
  host.Reset(kRate, block);
  ASSERT_TRUE(plugin.IsOversamplingOn());
  ASSERT_NE(plugin.GetOversampler(), nullptr);
  EXPECT_FALSE(plugin.GetOversampler()->IsAvailable());
  EXPECT_EQ(plugin.GetOversamplingLatency(), 0);
  EXPECT_EQ(plugin.GetLatency(), 0);
  EXPECT_FALSE(plugin.IsFlushPending());
  host.RunConstant(block, 0.5);
  EXPECT_EQ(host.Output(0)[0], 0.5);
  EXPECT_EQ(host.Output(1)[static_cast<size_t>(block - 1)], 0.5);
}

TEST(BlockProcessing, InPlaceBuffersGiveTheSameResult)
{
  ProcessingHost host;
  host.Plugin().GetParam(kGain)->Set(12.0);
  host.Plugin().GetParam(kThreshold)->Set(-6.0);
  host.Plugin().UpdateCoefficients();
  host.Reset(kRate, 128);
  host.Run(128, Tone);
  std::vector<double> left(host.Input(0)), right(host.Input(1));
  double* channels[] = {left.data(), right.data()};

  ProcessingHost other;
  other.Plugin().GetParam(kGain)->Set(12.0);
  other.Plugin().GetParam(kThreshold)->Set(-6.0);
  other.Plugin().UpdateCoefficients();
  other.Reset(kRate, 128);
  other.Plugin().ProcessBlock(channels, channels, 128);
  for (int i = 0; i < 128; ++i)
    ASSERT_EQ(left[static_cast<size_t>(i)], host.Output(0)[static_cast<size_t>(i)]);
}

} // namespace
