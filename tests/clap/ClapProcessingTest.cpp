// Audio through the built module: equal to in-process processing, parameter events at their
// sample offsets, and hostile process calls.
#include "tests/clap/ClapTestSupport.h"
#include "tools/host/clap/ClapEventList.h"

#include "plugin/Velmora.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace
{

using namespace clapabi;
using velmora::host::ClapEventList;
using velmora::host::HostParamChange;
using velmora::host::ProcessSetup;
using velmora::test::LoadClap;

constexpr double kRate = 48000.0;
constexpr int kBlock = 480;
constexpr int kBlocks = 20;

double Input(int channel, int64_t n)
{
  return 0.8 * std::sin(0.013 * static_cast<double>(n) + channel) +
         0.15 * std::sin(0.17 * static_cast<double>(n));
}

// Parameter events per block, normalised except for "Oversampling".
std::vector<std::vector<HostParamChange>> Automation()
{
  std::vector<std::vector<HostParamChange>> blocks(kBlocks);
  blocks[0] = {{8, 0, 0.3}, {6, 0, 0.5}};
  blocks[2] = {{0, 17, 0.7}, {9, 17, 0.8}, {7, 300, 0.25}};
  blocks[5] = {{8, 1, 0.05}, {8, 2, 0.6}, {1, 479, 0.9}};
  blocks[9] = {{4, 100, 0.4}, {5, 100, 0.2}, {2, 250, 0.5}, {3, 250, 0.8}, {10, 400, 0.9}};
  return blocks;
}

// What a host with 32-bit buffers hands over and gets back.
double AsFloat(double x)
{
  return static_cast<double>(static_cast<float>(x));
}

// The same plug-in class in-process, driven the way the wrapper drives it: each change applied
// at its own sample, the block processed in slices between changes. With singlePrecision the
// input and output pass through 32-bit floats as a 32-bit host's buffers would.
std::vector<double> RenderInProcess(int channels, bool singlePrecision)
{
  Velmora plugin{iplug::InstanceInfo{}};
  plugin.SetSampleRate(kRate);
  plugin.SetBlockSize(kBlock);
  plugin.SetChannelConnections(channels, channels);
  plugin.OnParamReset(iplug::EParamSource::kReset);
  plugin.OnReset();
  const auto automation = Automation();
  std::vector<double> out;
  std::vector<std::vector<double>> buffers(static_cast<size_t>(channels),
                                           std::vector<double>(kBlock));
  for (int b = 0; b < kBlocks; ++b)
  {
    for (int c = 0; c < channels; ++c)
      for (int i = 0; i < kBlock; ++i)
      {
        const double x = Input(c, b * kBlock + i);
        buffers[static_cast<size_t>(c)][static_cast<size_t>(i)] = singlePrecision ? AsFloat(x) : x;
      }
    int pos = 0;
    size_t next = 0;
    const auto& changes = automation[static_cast<size_t>(b)];
    while (pos < kBlock)
    {
      while (next < changes.size() && changes[next].sampleOffset <= pos)
      {
        const HostParamChange& change = changes[next++];
        plugin.GetParam(static_cast<int>(change.id))->SetNormalized(change.value);
        plugin.OnParamChange(static_cast<int>(change.id), iplug::EParamSource::kHost, pos);
      }
      const int end = next < changes.size() ? changes[next].sampleOffset : kBlock;
      std::vector<double*> ptrs;
      for (auto& buffer : buffers)
        ptrs.push_back(buffer.data() + pos);
      plugin.ProcessBlock(ptrs.data(), ptrs.data(), end - pos);
      pos = end;
    }
    for (int i = 0; i < kBlock; ++i)
      for (int c = 0; c < channels; ++c)
      {
        const double y = buffers[static_cast<size_t>(c)][static_cast<size_t>(i)];
        out.push_back(singlePrecision ? AsFloat(y) : y);
      }
  }
  return out;
}

std::vector<double> RenderThroughClap(int channels, bool doublePrecision)
{
  auto plugin = LoadClap();
  EXPECT_TRUE(plugin);
  if (!plugin)
    return {};
  ProcessSetup setup;
  setup.sampleRate = kRate;
  setup.maxBlockSize = kBlock;
  setup.channels = channels;
  setup.doublePrecision = doublePrecision;
  std::string error;
  EXPECT_TRUE(plugin->Start(setup, error)) << error;
  const auto automation = Automation();
  std::vector<double> out;
  std::vector<std::vector<double>> buffers(static_cast<size_t>(channels),
                                           std::vector<double>(kBlock));
  std::vector<double*> ptrs;
  for (auto& buffer : buffers)
    ptrs.push_back(buffer.data());
  for (int b = 0; b < kBlocks; ++b)
  {
    for (int c = 0; c < channels; ++c)
      for (int i = 0; i < kBlock; ++i)
        buffers[static_cast<size_t>(c)][static_cast<size_t>(i)] = Input(c, b * kBlock + i);
    EXPECT_TRUE(plugin->Process(ptrs, kBlock, automation[static_cast<size_t>(b)]));
    plugin->Idle();
    for (int i = 0; i < kBlock; ++i)
      for (int c = 0; c < channels; ++c)
        out.push_back(buffers[static_cast<size_t>(c)][static_cast<size_t>(i)]);
  }
  return out;
}

struct EquivalenceCase
{
  const char* name;
  int channels;
  bool doublePrecision;
};

class ClapEquivalenceTest : public ::testing::TestWithParam<EquivalenceCase>
{
};

TEST_P(ClapEquivalenceTest, SampleForSampleEqualToInProcess)
{
  const EquivalenceCase& c = GetParam();
  const std::vector<double> expected = RenderInProcess(c.channels, !c.doublePrecision);
  const std::vector<double> actual = RenderThroughClap(c.channels, c.doublePrecision);
  ASSERT_EQ(actual.size(), expected.size());
  size_t differing = 0;
  for (size_t i = 0; i < expected.size(); ++i)
    differing += actual[i] != expected[i];
  EXPECT_EQ(differing, 0u);
}

INSTANTIATE_TEST_SUITE_P(Hosts, ClapEquivalenceTest,
                         ::testing::Values(EquivalenceCase{"mono_64bit", 1, true},
                                           EquivalenceCase{"stereo_64bit", 2, true},
                                           EquivalenceCase{"mono_32bit", 1, false},
                                           EquivalenceCase{"stereo_32bit", 2, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ClapProcessing, EventOffsetsMatter)
{
  // A gain change applied at sample 200 leaves the first 200 samples as they were.
  auto plugin = LoadClap();
  ASSERT_TRUE(plugin);
  ProcessSetup setup;
  setup.maxBlockSize = kBlock;
  std::string error;
  ASSERT_TRUE(plugin->Start(setup, error)) << error;
  std::vector<double> left(kBlock), right(kBlock);
  for (int i = 0; i < kBlock; ++i)
    left[static_cast<size_t>(i)] = right[static_cast<size_t>(i)] = Input(0, i);
  const std::vector<double> original = left;
  std::vector<double*> ptrs{left.data(), right.data()};
  ASSERT_TRUE(plugin->Process(ptrs, kBlock, {{8, 200, 1.0}}));
  for (int i = 0; i < 200; ++i)
    ASSERT_EQ(left[static_cast<size_t>(i)], original[static_cast<size_t>(i)]) << i;
  double changed = 0.0;
  for (int i = 200; i < kBlock; ++i)
    changed += std::fabs(left[static_cast<size_t>(i)] - original[static_cast<size_t>(i)]);
  EXPECT_GT(changed, 1.0);
}

// Builds process calls by hand, the way a careless or hostile host might.
class ClapHostileProcessTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    mPlugin = LoadClap();
    ASSERT_TRUE(mPlugin);
    mP = mPlugin->Plugin();
    mLeft.assign(kLong, 0.25);
    mRight.assign(kLong, -0.25);
    mOutLeft.assign(kLong, 0.0);
    mOutRight.assign(kLong, 0.0);
    mIn64 = {mLeft.data(), mRight.data()};
    mOut64 = {mOutLeft.data(), mOutRight.data()};
    mInput.data64 = mIn64.data();
    mInput.channel_count = 2;
    mOutput.data64 = mOut64.data();
    mOutput.channel_count = 2;
  }

  clap_process MakeProcess(uint32_t frames)
  {
    clap_process process{};
    process.frames_count = frames;
    process.audio_inputs = &mInput;
    process.audio_outputs = &mOutput;
    process.audio_inputs_count = 1;
    process.audio_outputs_count = 1;
    process.in_events = mEvents.Input();
    process.out_events = mEvents.Output();
    return process;
  }

  bool OutputFinite(uint32_t frames) const
  {
    for (uint32_t i = 0; i < frames; ++i)
    {
      if (!std::isfinite(mOutLeft[i]) || !std::isfinite(mOutRight[i]))
        return false;
    }
    return true;
  }

  static constexpr uint32_t kLong = 40000;
  std::unique_ptr<velmora::host::ClapHostedPlugin> mPlugin;
  const clap_plugin* mP = nullptr;
  std::vector<double> mLeft, mRight, mOutLeft, mOutRight;
  std::vector<double*> mIn64, mOut64;
  clap_audio_buffer mInput{};
  clap_audio_buffer mOutput{};
  ClapEventList mEvents;
};

TEST_F(ClapHostileProcessTest, CallsOutOfOrderAreRefusedOrIgnored)
{
  clap_process process = MakeProcess(64);
  EXPECT_EQ(mP->process(mP, &process), CLAP_PROCESS_ERROR);
  mP->reset(mP);
  EXPECT_FALSE(mP->start_processing(mP));
  mP->stop_processing(mP);
  mP->deactivate(mP);
  ASSERT_TRUE(mP->activate(mP, kRate, 1, 512));
  EXPECT_FALSE(mP->activate(mP, kRate, 1, 512));
  EXPECT_EQ(mP->process(mP, nullptr), CLAP_PROCESS_ERROR);
  EXPECT_EQ(mP->process(mP, &process), CLAP_PROCESS_CONTINUE);
  EXPECT_TRUE(OutputFinite(64));
  mP->reset(mP);
  mP->deactivate(mP);
  EXPECT_EQ(mP->process(mP, &process), CLAP_PROCESS_ERROR);
}

struct ActivateCase
{
  const char* name;
  double rate;
  uint32_t minFrames;
  uint32_t maxFrames;
  bool accepted;
};

class ClapActivateTest : public ClapHostileProcessTest,
                         public ::testing::WithParamInterface<ActivateCase>
{
};

TEST_P(ClapActivateTest, UnusableSetupsAreRefused)
{
  const ActivateCase& c = GetParam();
  EXPECT_EQ(mP->activate(mP, c.rate, c.minFrames, c.maxFrames), c.accepted);
  if (c.accepted)
  {
    clap_process process = MakeProcess(kLong);
    EXPECT_EQ(mP->process(mP, &process), CLAP_PROCESS_CONTINUE);
    EXPECT_TRUE(OutputFinite(kLong));
    mP->deactivate(mP);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Setups, ClapActivateTest,
    ::testing::Values(
        ActivateCase{"normal", 48000.0, 1, 512, true},
        ActivateCase{"huge_max", 48000.0, 1, UINT32_MAX, true},
        ActivateCase{"nan_rate", std::numeric_limits<double>::quiet_NaN(), 1, 512, false},
        ActivateCase{"inf_rate", std::numeric_limits<double>::infinity(), 1, 512, false},
        ActivateCase{"zero_rate", 0.0, 1, 512, false},
        ActivateCase{"negative_rate", -44100.0, 1, 512, false},
        ActivateCase{"zero_max", 48000.0, 0, 0, false},
        ActivateCase{"min_above_max", 48000.0, 600, 512, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ClapHostileProcessTest, OversizedAndEmptyBlocks)
{
  ASSERT_TRUE(mP->activate(mP, kRate, 1, 256));
  for (const uint32_t frames : {0u, 1u, 257u, kLong})
  {
    clap_process process = MakeProcess(frames);
    EXPECT_EQ(mP->process(mP, &process), CLAP_PROCESS_CONTINUE) << frames;
    EXPECT_TRUE(OutputFinite(frames)) << frames;
  }
}

TEST_F(ClapHostileProcessTest, MissingBuffersNeverCrash)
{
  ASSERT_TRUE(mP->activate(mP, kRate, 1, 256));
  std::vector<double*> partial{mLeft.data(), nullptr};
  std::vector<double*> partialOut{nullptr, mOutRight.data()};
  clap_audio_buffer noData{};
  noData.channel_count = 2;
  clap_audio_buffer partialIn = mInput;
  partialIn.data64 = partial.data();
  clap_audio_buffer partialOutput = mOutput;
  partialOutput.data64 = partialOut.data();
  clap_audio_buffer tooWide = mOutput;
  tooWide.channel_count = 1;

  struct Variant
  {
    const char* name;
    const clap_audio_buffer* in;
    uint32_t inCount;
    clap_audio_buffer* out;
    uint32_t outCount;
  };
  const Variant variants[] = {
      {"no_input", nullptr, 0, &mOutput, 1},
      {"no_output", &mInput, 1, nullptr, 0},
      {"neither", nullptr, 0, nullptr, 0},
      {"input_count_without_array", nullptr, 1, &mOutput, 1},
      {"buffers_without_data", &noData, 1, &noData, 1},
      {"null_channel_pointers", &partialIn, 1, &partialOutput, 1},
      {"fewer_output_channels", &mInput, 1, &tooWide, 1},
  };
  for (const Variant& v : variants)
  {
    clap_process process = MakeProcess(256);
    process.audio_inputs = v.in;
    process.audio_inputs_count = v.inCount;
    process.audio_outputs = v.out;
    process.audio_outputs_count = v.outCount;
    EXPECT_EQ(mP->process(mP, &process), CLAP_PROCESS_CONTINUE) << v.name;
  }
  EXPECT_TRUE(OutputFinite(256));
}

TEST_F(ClapHostileProcessTest, UnusableEventsAreIgnored)
{
  ASSERT_TRUE(mP->activate(mP, kRate, 1, 256));
  clap_process plain = MakeProcess(256);
  ASSERT_EQ(mP->process(mP, &plain), CLAP_PROCESS_CONTINUE);
  const std::vector<double> reference = mOutLeft;
  mP->reset(mP);

  // Unknown types, other spaces, truncated records, unknown ids and NaN values.
  clap_event_header unknown{sizeof(clap_event_header), 3, CLAP_CORE_EVENT_SPACE_ID, 200, 0};
  clap_event_header otherSpace{sizeof(clap_event_param_value), 5, 7, CLAP_EVENT_PARAM_VALUE, 0};
  clap_event_header truncated{sizeof(clap_event_header), 9, CLAP_CORE_EVENT_SPACE_ID,
                              CLAP_EVENT_PARAM_VALUE, 0};
  clap_event_header note{sizeof(clap_event_header) + 16, 11, CLAP_CORE_EVENT_SPACE_ID,
                         CLAP_EVENT_NOTE_ON, 0};
  mEvents.AddRaw(unknown);
  mEvents.AddRaw(otherSpace);
  mEvents.AddRaw(truncated);
  mEvents.AddRaw(note);
  mEvents.AddParamValue(20, 12, 1.0);
  mEvents.AddParamValue(21, UINT32_MAX, 1.0);
  mEvents.AddParamValue(22, 8, std::numeric_limits<double>::quiet_NaN());
  mEvents.AddParamValue(5000, 99, 0.5);
  clap_process process = MakeProcess(256);
  ASSERT_EQ(mP->process(mP, &process), CLAP_PROCESS_CONTINUE);
  for (uint32_t i = 0; i < 256; ++i)
    ASSERT_EQ(mOutLeft[i], reference[i]) << i;
  const auto* params = mPlugin->Extension<clap_plugin_params>("clap.params");
  double gain = -1.0;
  ASSERT_TRUE(params->get_value(mP, 8, &gain));
  EXPECT_EQ(gain, 0.0);

  // Out-of-range values are clamped, infinities included.
  mEvents.Clear();
  mEvents.AddParamValue(0, 8, std::numeric_limits<double>::infinity());
  mEvents.AddParamValue(0, 11, -5.0);
  ASSERT_EQ(mP->process(mP, &process), CLAP_PROCESS_CONTINUE);
  ASSERT_TRUE(params->get_value(mP, 8, &gain));
  EXPECT_EQ(gain, 1.0);
  double oversampling = -1.0;
  ASSERT_TRUE(params->get_value(mP, 11, &oversampling));
  EXPECT_EQ(oversampling, 0.0);
  EXPECT_TRUE(OutputFinite(256));
}

TEST_F(ClapHostileProcessTest, FlushAppliesEventsWithoutProcessing)
{
  const auto* params = mPlugin->Extension<clap_plugin_params>("clap.params");
  ASSERT_NE(params, nullptr);
  mEvents.AddParamValue(0, 9, 0.25);
  mEvents.AddParamValue(0, 42, 0.25);
  params->flush(mP, mEvents.Input(), mEvents.Output());
  params->flush(mP, nullptr, nullptr);
  double mix = -1.0;
  ASSERT_TRUE(params->get_value(mP, 9, &mix));
  EXPECT_EQ(mix, 0.25);
}

TEST_F(ClapHostileProcessTest, NonFiniteSamplesStayContained)
{
  ASSERT_TRUE(mP->activate(mP, kRate, 1, 256));
  mLeft[10] = std::numeric_limits<double>::quiet_NaN();
  mRight[20] = std::numeric_limits<double>::infinity();
  clap_process process = MakeProcess(256);
  EXPECT_EQ(mP->process(mP, &process), CLAP_PROCESS_CONTINUE);
  mLeft[10] = 0.25;
  mRight[20] = -0.25;
  EXPECT_EQ(mP->process(mP, &process), CLAP_PROCESS_CONTINUE);
  EXPECT_TRUE(OutputFinite(256));
}

} // namespace
