#include "tests/vst3/Vst3TestSupport.h"

#include "framework/vst3/VST3Strings.h"

#include "pluginterfaces/vst/vstspeaker.h"

#include <gtest/gtest.h>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace velmora::test
{
namespace
{

class Vst3Buses : public ::testing::Test
{
protected:
  void SetUp() override
  {
    effect = LoadEffect();
    ASSERT_NE(effect, nullptr);
  }

  int32 Channels(BusDirection dir)
  {
    BusInfo info{};
    EXPECT_EQ(effect->Component().getBusInfo(kAudio, dir, 0, info), kResultOk);
    return info.channelCount;
  }

  std::unique_ptr<host::vst3::VST3HostedPlugin> effect;
};

TEST_F(Vst3Buses, OneStereoInputAndOutputAndNoEventBuses)
{
  IComponent& component = effect->Component();
  EXPECT_EQ(component.getBusCount(kAudio, kInput), 1);
  EXPECT_EQ(component.getBusCount(kAudio, kOutput), 1);
  EXPECT_EQ(component.getBusCount(kEvent, kInput), 0);
  EXPECT_EQ(component.getBusCount(kEvent, kOutput), 0);

  for (const auto& [dir, name] : {std::pair{kInput, "Input"}, std::pair{kOutput, "Output"}})
  {
    BusInfo info{};
    ASSERT_EQ(component.getBusInfo(kAudio, dir, 0, info), kResultOk);
    EXPECT_EQ(iplug::UTF16ToUTF8(info.name, 128), name);
    EXPECT_EQ(info.channelCount, 2);
    EXPECT_EQ(info.busType, kMain);
    SpeakerArrangement arrangement = 0;
    EXPECT_EQ(effect->Processor().getBusArrangement(dir, 0, arrangement), kResultOk);
    EXPECT_EQ(arrangement, SpeakerArr::kStereo);
  }
}

struct ArrangementCase
{
  const char* label;
  SpeakerArrangement input;
  SpeakerArrangement output;
  bool accepted;
};

class Vst3BusArrangements : public Vst3Buses, public ::testing::WithParamInterface<ArrangementCase>
{
};

TEST_P(Vst3BusArrangements, OnlyMatchingMonoOrStereoPairsAreAccepted)
{
  const ArrangementCase& c = GetParam();
  // Start from mono so that an accepted stereo request visibly rebuilds the buses too.
  SpeakerArrangement mono = SpeakerArr::kMono;
  ASSERT_EQ(effect->Processor().setBusArrangements(&mono, 1, &mono, 1), kResultOk);

  SpeakerArrangement in = c.input;
  SpeakerArrangement out = c.output;
  const tresult result = effect->Processor().setBusArrangements(&in, 1, &out, 1);
  EXPECT_EQ(result == kResultOk, c.accepted);
  const int expected = c.accepted ? SpeakerArr::getChannelCount(c.input) : 1;
  EXPECT_EQ(Channels(kInput), expected);
  EXPECT_EQ(Channels(kOutput), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Vst3BusArrangements,
    ::testing::Values(ArrangementCase{"MonoMono", SpeakerArr::kMono, SpeakerArr::kMono, true},
                      ArrangementCase{"StereoStereo", SpeakerArr::kStereo, SpeakerArr::kStereo,
                                      true},
                      ArrangementCase{"MonoStereo", SpeakerArr::kMono, SpeakerArr::kStereo, false},
                      ArrangementCase{"StereoMono", SpeakerArr::kStereo, SpeakerArr::kMono, false},
                      ArrangementCase{"Surround", SpeakerArr::k51, SpeakerArr::k51, false},
                      ArrangementCase{"Empty", SpeakerArr::kEmpty, SpeakerArr::kEmpty, false}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(Vst3Buses, RefusesWrongBusCountsAndMissingArrays)
{
  SpeakerArrangement stereo[2] = {SpeakerArr::kStereo, SpeakerArr::kStereo};
  IAudioProcessor& processor = effect->Processor();
  EXPECT_NE(processor.setBusArrangements(stereo, 2, stereo, 1), kResultOk);
  EXPECT_NE(processor.setBusArrangements(stereo, 0, stereo, 1), kResultOk);
  EXPECT_NE(processor.setBusArrangements(nullptr, 1, stereo, 1), kResultOk);
  EXPECT_NE(processor.setBusArrangements(stereo, 1, nullptr, 1), kResultOk);
  EXPECT_EQ(Channels(kInput), 2);
}

TEST_F(Vst3Buses, AcceptsBothSampleSizesOnly)
{
  EXPECT_EQ(effect->Processor().canProcessSampleSize(kSample32), kResultTrue);
  EXPECT_EQ(effect->Processor().canProcessSampleSize(kSample64), kResultTrue);
  EXPECT_NE(effect->Processor().canProcessSampleSize(2), kResultTrue);
  EXPECT_NE(effect->Processor().canProcessSampleSize(-1), kResultTrue);
}

TEST_F(Vst3Buses, UnknownBusesAnswerWithAnError)
{
  IComponent& component = effect->Component();
  BusInfo info{};
  SpeakerArrangement arrangement = 0;
  EXPECT_NE(component.getBusInfo(kAudio, kInput, 1, info), kResultOk);
  EXPECT_NE(component.getBusInfo(kAudio, kOutput, -1, info), kResultOk);
  EXPECT_NE(component.getBusInfo(kEvent, kInput, 0, info), kResultOk);
  EXPECT_NE(component.activateBus(kAudio, kOutput, 5, true), kResultOk);
  EXPECT_NE(component.activateBus(kEvent, kInput, 0, true), kResultOk);
  EXPECT_EQ(component.activateBus(kAudio, kInput, 0, true), kResultOk);
  EXPECT_NE(effect->Processor().getBusArrangement(kOutput, 3, arrangement), kResultOk);
}

TEST_F(Vst3Buses, ControllerClassIoModeAndRoutingAreNotImplemented)
{
  IComponent& component = effect->Component();
  TUID cid{};
  RoutingInfo in{};
  RoutingInfo out{};
  EXPECT_EQ(component.getControllerClassId(cid), kNotImplemented);
  EXPECT_EQ(component.setIoMode(kSimple), kNotImplemented);
  EXPECT_EQ(component.getRoutingInfo(in, out), kNotImplemented);
  EXPECT_EQ(effect->Processor().getTailSamples(), 0u);
}

} // namespace
} // namespace velmora::test
