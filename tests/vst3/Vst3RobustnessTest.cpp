#include "tests/vst3/Vst3TestSupport.h"

#include "tools/host/vst3/VST3ParameterChanges.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace velmora::test
{
namespace
{

constexpr int32 kBlock = 128;

// Drives the processor interface directly with hand-made process data.
class Vst3Robustness : public ::testing::Test
{
public:
  void SetUp() override
  {
    effect = LoadEffect();
    ASSERT_NE(effect, nullptr);
    for (int c = 0; c < 2; ++c)
    {
      inputs[c].assign(4 * kBlock, 0.25);
      outputs[c].assign(4 * kBlock, 0.0);
      inPtrs[c] = inputs[c].data();
      outPtrs[c] = outputs[c].data();
    }
    inBus.numChannels = outBus.numChannels = 2;
    inBus.channelBuffers64 = inPtrs;
    outBus.channelBuffers64 = outPtrs;
    data.symbolicSampleSize = kSample64;
    data.numSamples = kBlock;
    data.numInputs = data.numOutputs = 1;
    data.inputs = &inBus;
    data.outputs = &outBus;
  }

  tresult Setup(int32 sampleSize = kSample64, int32 maxBlock = kBlock, double rate = 48000.0)
  {
    ProcessSetup setup{kRealtime, sampleSize, maxBlock, rate};
    return Processor().setupProcessing(setup);
  }

  void Activate()
  {
    ASSERT_EQ(Setup(), kResultOk);
    ASSERT_EQ(effect->Component().setActive(true), kResultOk);
    ASSERT_EQ(Processor().setProcessing(true), kResultOk);
  }

  IAudioProcessor& Processor() { return effect->Processor(); }

  std::unique_ptr<host::vst3::VST3HostedPlugin> effect;
  std::vector<double> inputs[2];
  std::vector<double> outputs[2];
  double* inPtrs[2] = {};
  double* outPtrs[2] = {};
  AudioBusBuffers inBus{};
  AudioBusBuffers outBus{};
  ProcessData data;
};

TEST_F(Vst3Robustness, ProcessBeforeSetupOrActivationIsRefused)
{
  EXPECT_NE(Processor().process(data), kResultOk);
  ASSERT_EQ(Setup(), kResultOk);
  EXPECT_NE(Processor().process(data), kResultOk);
  ASSERT_EQ(effect->Component().setActive(true), kResultOk);
  EXPECT_EQ(Processor().process(data), kResultOk);
  ASSERT_EQ(effect->Component().setActive(false), kResultOk);
  EXPECT_NE(Processor().process(data), kResultOk);
}

TEST_F(Vst3Robustness, UnusableSetupsAreRefused)
{
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_NE(Setup(kSample64, 0), kResultOk);
  EXPECT_NE(Setup(kSample64, -5), kResultOk);
  EXPECT_NE(Setup(kSample64, std::numeric_limits<int32>::max()), kResultOk);
  EXPECT_NE(Setup(7), kResultOk);
  EXPECT_NE(Setup(kSample64, kBlock, nan), kResultOk);
  EXPECT_NE(Setup(kSample64, kBlock, 0.0), kResultOk);
  EXPECT_NE(Setup(kSample64, kBlock, -std::numeric_limits<double>::infinity()), kResultOk);
  ASSERT_EQ(effect->Component().setActive(true), kResultOk);
  EXPECT_NE(Processor().process(data), kResultOk) << "no usable set-up was made";
}

TEST_F(Vst3Robustness, BadProcessDataIsRefusedWithoutTouchingTheOutput)
{
  struct Case
  {
    const char* label;
    void (*spoil)(Vst3Robustness&);
  };
  const Case cases[] = {
      {"no output bus array", [](Vst3Robustness& t) { t.data.outputs = nullptr; }},
      {"no output buses", [](Vst3Robustness& t) { t.data.numOutputs = 0; }},
      {"null channel array", [](Vst3Robustness& t) { t.outBus.channelBuffers64 = nullptr; }},
      {"null channel", [](Vst3Robustness& t) { t.outPtrs[1] = nullptr; }},
      {"null input channel", [](Vst3Robustness& t) { t.inPtrs[0] = nullptr; }},
      {"too few channels", [](Vst3Robustness& t) { t.outBus.numChannels = 1; }},
      {"more frames than announced", [](Vst3Robustness& t) { t.data.numSamples = kBlock + 1; }},
      {"negative frames", [](Vst3Robustness& t) { t.data.numSamples = -1; }},
      {"wrong sample size", [](Vst3Robustness& t) { t.data.symbolicSampleSize = kSample32; }},
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.label);
    SetUp(); // a fresh instance and fresh buffers per case
    Activate();
    c.spoil(*this);
    EXPECT_NE(Processor().process(data), kResultOk);
    for (int ch = 0; ch < 2; ++ch)
      EXPECT_EQ(outputs[ch], std::vector<double>(4 * kBlock, 0.0));
  }
}

TEST_F(Vst3Robustness, ZeroFramesOnlyDeliverParameterChanges)
{
  Activate();
  host::vst3::VST3ParameterChanges changes;
  changes.Add(9, 0, 0.25);
  data.inputParameterChanges = &changes;
  data.numSamples = 0;
  EXPECT_EQ(Processor().process(data), kResultOk);
  EXPECT_DOUBLE_EQ(effect->GetParameter(9), 0.25);
  EXPECT_EQ(outputs[0], std::vector<double>(4 * kBlock, 0.0));
}

TEST_F(Vst3Robustness, MissingInputBusCountsAsSilence)
{
  Activate();
  data.numInputs = 0;
  data.inputs = nullptr;
  outputs[0].assign(outputs[0].size(), 9.0);
  EXPECT_EQ(Processor().process(data), kResultOk);
  for (int i = 0; i < kBlock; ++i)
    ASSERT_EQ(outputs[0][static_cast<size_t>(i)], 0.0) << i;
}

TEST_F(Vst3Robustness, UnusableChangesAreIgnored)
{
  Activate();
  host::vst3::VST3ParameterChanges changes;
  changes.Add(9, 0, std::numeric_limits<double>::quiet_NaN());
  changes.Add(4242, 3, 0.5);
  changes.Add(3, -20, 0.75);        // before the block: applied at its start
  changes.Add(4, kBlock + 50, 1.0); // beyond the block: still applied
  data.inputParameterChanges = &changes;
  EXPECT_EQ(Processor().process(data), kResultOk);
  EXPECT_DOUBLE_EQ(effect->GetParameter(9), 0.5);
  EXPECT_DOUBLE_EQ(effect->GetParameter(3), 0.75);
  EXPECT_DOUBLE_EQ(effect->GetParameter(4), 1.0);
}

TEST_F(Vst3Robustness, NonFiniteSamplesNeverReachTheOutput)
{
  Activate();
  inputs[0][5] = std::numeric_limits<double>::quiet_NaN();
  inputs[1][9] = std::numeric_limits<double>::infinity();
  EXPECT_EQ(Processor().process(data), kResultOk);
  for (int c = 0; c < 2; ++c)
    for (int i = 0; i < kBlock; ++i)
      ASSERT_TRUE(std::isfinite(outputs[c][static_cast<size_t>(i)])) << c << "/" << i;
}

TEST_F(Vst3Robustness, SetupWhileProcessingAndBusChangesWhileActiveAreRefused)
{
  Activate();
  EXPECT_NE(Setup(), kResultOk);
  SpeakerArrangement mono = SpeakerArr::kMono;
  EXPECT_NE(Processor().setBusArrangements(&mono, 1, &mono, 1), kResultOk);
  ASSERT_EQ(Processor().setProcessing(false), kResultOk);
  ASSERT_EQ(effect->Component().setActive(false), kResultOk);
  EXPECT_EQ(Processor().setBusArrangements(&mono, 1, &mono, 1), kResultOk);
  EXPECT_EQ(Setup(), kResultOk);
}

TEST_F(Vst3Robustness, RepeatedLifecycleCallsAreHarmless)
{
  for (int round = 0; round < 3; ++round)
  {
    Activate();
    EXPECT_EQ(Processor().process(data), kResultOk);
    EXPECT_EQ(Processor().setProcessing(false), kResultOk);
    EXPECT_EQ(Processor().setProcessing(false), kResultOk);
    EXPECT_EQ(effect->Component().setActive(false), kResultOk);
  }
  // A second initialise of the same object (as its controller side) is accepted.
  EXPECT_EQ(effect->Controller().initialize(nullptr), kResultOk);
}

} // namespace
} // namespace velmora::test
