#include "tests/vst3/Vst3TestSupport.h"

#include "plugin/Velmora.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace velmora::test
{
namespace
{

constexpr double kRate = 48000.0;
constexpr int kMaxBlock = 512;
constexpr int kFrames = 3000;

struct TimedChange
{
  int frame;
  uint32_t id;
  double normalized;
};

// Changes spread over the render, two of them at the same frame, and a bypass stretch.
const std::vector<TimedChange> kAutomation = {
    {0, 8, 0.3},    {100, 6, 0.5},          {777, 0, 0.6},  {777, 9, 0.8},   {1200, kBypassId, 1.0},
    {1500, 7, 0.4}, {2000, kBypassId, 0.0}, {2222, 5, 0.7}, {2900, 10, 0.9},
};

struct RenderCase
{
  int bits;
  int channels;
  int blockSize;
};

double RoundTrip(double sample, int bits)
{
  return bits == 32 ? static_cast<double>(static_cast<float>(sample)) : sample;
}

// The same render in process: the plug-in class on the plain base, its block split at the
// change points the way a host's sample-accurate automation asks for.
std::vector<std::vector<double>> RenderInProcess(const RenderCase& c,
                                                 const std::vector<std::vector<double>>& input,
                                                 const std::vector<TimedChange>& changes)
{
  Velmora plug{iplug::InstanceInfo{}};
  plug.SetSampleRate(kRate);
  plug.SetBlockSize(kMaxBlock);
  plug.SetChannelConnections(c.channels, c.channels);
  plug.OnReset();

  const auto nChannels = static_cast<size_t>(c.channels);
  std::vector<std::vector<double>> in(nChannels), out(nChannels);
  for (size_t ch = 0; ch < nChannels; ++ch)
  {
    for (const double s : input[ch])
      in[ch].push_back(RoundTrip(s, c.bits));
    out[ch].assign(in[ch].size(), 0.0);
  }

  bool bypass = false;
  size_t next = 0;
  std::vector<double*> ins(nChannels), outs(nChannels);
  for (int blockStart = 0; blockStart < kFrames; blockStart += c.blockSize)
  {
    const int blockEnd = std::min(kFrames, blockStart + c.blockSize);
    int pos = blockStart;
    while (pos < blockEnd)
    {
      while (next < changes.size() && changes[next].frame <= pos)
      {
        const TimedChange& change = changes[next++];
        if (change.id == kBypassId)
          bypass = change.normalized >= 0.5;
        else
        {
          plug.GetParam(static_cast<int>(change.id))->SetNormalized(change.normalized);
          plug.OnParamChange(static_cast<int>(change.id), iplug::EParamSource::kHost,
                             pos - blockStart);
        }
      }
      const int segmentEnd =
          next < changes.size() ? std::min(blockEnd, changes[next].frame) : blockEnd;
      for (size_t ch = 0; ch < nChannels; ++ch)
      {
        ins[ch] = in[ch].data() + pos;
        outs[ch] = out[ch].data() + pos;
      }
      if (bypass)
        for (size_t ch = 0; ch < nChannels; ++ch)
          std::copy(ins[ch], ins[ch] + (segmentEnd - pos), outs[ch]);
      else
        plug.ProcessBlock(ins.data(), outs.data(), segmentEnd - pos);
      pos = segmentEnd;
    }
  }
  for (auto& channel : out)
    for (double& s : channel)
      s = RoundTrip(s, c.bits);
  return out;
}

// beforeStart: values the host sets on the controller only, while processing is stopped.
std::vector<std::vector<double>>
RenderThroughModule(const RenderCase& c, std::vector<std::vector<double>> audio,
                    const std::vector<TimedChange>& changes,
                    const std::vector<TimedChange>& beforeStart = {})
{
  auto effect = LoadEffect();
  EXPECT_NE(effect, nullptr);
  if (!effect)
    return {};
  for (const TimedChange& change : beforeStart)
    EXPECT_TRUE(effect->SetParameter(change.id, change.normalized));
  host::ProcessSetup setup;
  setup.sampleRate = kRate;
  setup.maxBlockSize = kMaxBlock;
  setup.channels = c.channels;
  setup.doublePrecision = c.bits == 64;
  std::string error;
  EXPECT_TRUE(effect->Start(setup, error)) << error;

  std::vector<double*> block(audio.size());
  for (int blockStart = 0; blockStart < kFrames; blockStart += c.blockSize)
  {
    const int n = std::min(c.blockSize, kFrames - blockStart);
    std::vector<host::HostParamChange> blockChanges;
    for (const TimedChange& change : changes)
      if (change.frame >= blockStart && change.frame < blockStart + n)
        blockChanges.push_back({change.id, change.frame - blockStart, change.normalized});
    for (size_t ch = 0; ch < audio.size(); ++ch)
      block[ch] = audio[ch].data() + blockStart;
    EXPECT_TRUE(effect->Process(block, n, blockChanges)) << "block at " << blockStart;
  }
  return audio;
}

class Vst3Processing : public ::testing::TestWithParam<RenderCase>
{
};

TEST_P(Vst3Processing, ModuleOutputEqualsInProcessRenderSampleForSample)
{
  const RenderCase& c = GetParam();
  const auto input = MakeTestSignal(c.channels, kFrames);
  const auto expected = RenderInProcess(c, input, kAutomation);
  const auto actual = RenderThroughModule(c, input, kAutomation);
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t ch = 0; ch < expected.size(); ++ch)
  {
    const auto mismatch =
        std::mismatch(expected[ch].begin(), expected[ch].end(), actual[ch].begin());
    EXPECT_EQ(mismatch.first, expected[ch].end()) << "channel " << ch << " differs first at frame "
                                                  << (mismatch.first - expected[ch].begin());
  }
}

INSTANTIATE_TEST_SUITE_P(Table, Vst3Processing,
                         ::testing::Values(RenderCase{64, 2, 512}, RenderCase{64, 2, 1},
                                           RenderCase{64, 1, 333}, RenderCase{64, 1, 64},
                                           RenderCase{32, 2, 512}, RenderCase{32, 2, 100},
                                           RenderCase{32, 1, 1}, RenderCase{32, 1, 257}),
                         [](const auto& info)
                         {
                           return std::to_string(info.param.bits) + "bit_" +
                                  std::to_string(info.param.channels) + "ch_block" +
                                  std::to_string(info.param.blockSize);
                         });

// A host that sets values on the controller before activation and sends them no further: the
// sound follows them from the first block.
TEST(Vst3ControllerValues, SetBeforeActivationAreInForceFromTheFirstBlock)
{
  const RenderCase c{64, 2, 512};
  const std::vector<TimedChange> settings = {{0, 8, 0.3}, {0, 0, 0.6}, {0, 6, 0.5}, {0, 9, 0.8}};
  const auto input = MakeTestSignal(c.channels, kFrames);
  const auto expected = RenderInProcess(c, input, settings);
  const auto actual = RenderThroughModule(c, input, {}, settings);
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t ch = 0; ch < expected.size(); ++ch)
    EXPECT_EQ(actual[ch], expected[ch]) << "channel " << ch;
}

TEST(Vst3Bypass, PassesTheInputUnchanged)
{
  for (const int bits : {32, 64})
  {
    const RenderCase c{bits, 2, 256};
    const auto input = MakeTestSignal(2, kFrames);
    // Loud enough settings that any processing would show.
    const auto output =
        RenderThroughModule(c, input, {{0, kBypassId, 1.0}, {0, 8, 1.0}, {0, 6, 1.0}, {0, 0, 0.2}});
    ASSERT_EQ(output.size(), 2u);
    for (size_t ch = 0; ch < 2; ++ch)
      for (size_t i = 0; i < input[ch].size(); ++i)
        ASSERT_EQ(output[ch][i], RoundTrip(input[ch][i], bits)) << bits << "-bit, frame " << i;
  }
}

// Hosts skip work downstream of an output flagged silent. Each block flags a channel exactly when
// all it wrote is zero; on the oversampled path the delayed signal still comes out after the input
// falls silent, so those blocks are not flagged.
TEST(Vst3SilenceFlags, AChannelIsFlaggedExactlyWhenAllItWroteIsZero)
{
  constexpr int kBlock = 64;
  constexpr uint32_t kOversamplingId = 11;
  for (const int bits : {32, 64})
  {
    for (const bool oversampling : {false, true})
    {
      SCOPED_TRACE(std::to_string(bits) + "-bit" + (oversampling ? ", oversampled" : ""));
      auto effect = LoadEffect();
      ASSERT_NE(effect, nullptr);
      host::ProcessSetup setup;
      setup.sampleRate = kRate;
      setup.maxBlockSize = kBlock;
      setup.doublePrecision = bits == 64;
      std::string error;
      ASSERT_TRUE(effect->Start(setup, error)) << error;
      ASSERT_TRUE(effect->SetParameter(kOversamplingId, oversampling ? 1.0 : 0.0));
      ProcessSilence(*effect, 40, kBlock);
      effect->Idle();

      // The left channel plays a few blocks of signal, the right one stays silent throughout.
      const std::vector<std::vector<double>> signal = MakeTestSignal(1, 4 * kBlock);
      int unflaggedAfterTheSignal = 0;
      for (int block = 0; block < 12; ++block)
      {
        std::vector<double> left(kBlock, 0.0), right(kBlock, 0.0);
        if (block < 4)
          std::copy_n(signal[0].begin() + block * kBlock, kBlock, left.begin());
        std::vector<double*> channels{left.data(), right.data()};
        ASSERT_TRUE(effect->Process(channels, kBlock, {}));
        const auto allZero = [](const std::vector<double>& samples)
        { return std::all_of(samples.begin(), samples.end(), [](double s) { return s == 0.0; }); };
        const uint64_t expected = (allZero(left) ? 1u : 0u) | (allZero(right) ? 2u : 0u);
        EXPECT_EQ(effect->LastOutputSilenceFlags(), expected) << "block " << block;
        unflaggedAfterTheSignal += block >= 4 && !allZero(left);
      }
      EXPECT_EQ(effect->LastOutputSilenceFlags(), 3u) << "silence in, silence out";
      EXPECT_EQ(unflaggedAfterTheSignal > 0, oversampling) << "the latency's tail";
    }
  }
}

} // namespace
} // namespace velmora::test
