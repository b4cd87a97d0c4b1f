#include "tests/vst3/Vst3TestSupport.h"

#include "framework/vst3/VST3Strings.h"

#include "pluginterfaces/vst/ivstunits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace velmora::test
{
namespace
{

struct ExpectedParam
{
  ParamID id;
  const char* title;
  const char* units;
  int32 stepCount;
  int32 flags;
  double defaultNormalized;
};

constexpr int32 kAuto = ParameterInfo::kCanAutomate;

const ExpectedParam kExpectedParams[] = {
    {0, "Threshold", "dB", 0, kAuto, 1.0},
    {1, "T Assym", "dB", 0, kAuto, 0.5},
    {2, "Nonlinearity", "", 0, kAuto, 0.0},
    {3, "N Assym", "Offset", 0, kAuto, 0.5},
    {4, "Knee", "dB", 0, kAuto, 0.0},
    {5, "K Assym", "dB", 0, kAuto, 0.5},
    {6, "Mod A", "%", 0, kAuto, 0.0},
    {7, "Mod B", "%", 0, kAuto, 0.0},
    {8, "Gain", "dB", 0, kAuto, 0.0},
    {9, "Mix", "%", 0, kAuto, 0.5},
    {10, "Output", "dB", 0, kAuto, 1.0},
    {11, "Oversampling", "", 1, 0, 0.0},
    {kBypassId, "Bypass", "", 1, kAuto | ParameterInfo::kIsList | ParameterInfo::kIsBypass, 0.0},
    {kPresetId, "Preset", "", 0, ParameterInfo::kIsProgramChange, 0.0},
};

class Vst3Parameters : public ::testing::Test
{
protected:
  void SetUp() override
  {
    effect = LoadEffect();
    ASSERT_NE(effect, nullptr);
  }

  IEditController& Controller() { return effect->Controller(); }

  std::unique_ptr<host::vst3::VST3HostedPlugin> effect;
};

TEST_F(Vst3Parameters, TableAsHostsSeeIt)
{
  ASSERT_EQ(Controller().getParameterCount(), static_cast<int32>(std::size(kExpectedParams)));
  for (int32 i = 0; i < Controller().getParameterCount(); ++i)
  {
    const ExpectedParam& expected = kExpectedParams[i];
    ParameterInfo info{};
    ASSERT_EQ(Controller().getParameterInfo(i, info), kResultOk);
    SCOPED_TRACE(expected.title);
    EXPECT_EQ(info.id, expected.id);
    EXPECT_EQ(iplug::UTF16ToUTF8(info.title, 128), expected.title);
    EXPECT_EQ(iplug::UTF16ToUTF8(info.units, 128), expected.units);
    EXPECT_EQ(info.stepCount, expected.stepCount);
    EXPECT_EQ(info.flags, expected.flags);
    EXPECT_EQ(info.unitId, kRootUnitId);
    EXPECT_DOUBLE_EQ(info.defaultNormalizedValue, expected.defaultNormalized);
    EXPECT_DOUBLE_EQ(Controller().getParamNormalized(expected.id), expected.defaultNormalized);
  }
}

struct TextCase
{
  ParamID id;
  double normalized;
  const char* text;
};

TEST_F(Vst3Parameters, ValueStringsBothWays)
{
  const TextCase cases[] = {
      {0, 1.0, "0.0"},  {0, 0.5, "-30.0"},       {2, 0.5, "1.0650"},     {3, 0.5, "0.0000"},
      {9, 0.5, "50.0"}, {9, 1.0, "100.0"},       {8, 0.0, "0.0"},        {11, 0.0, "off"},
      {11, 1.0, "on"},  {kBypassId, 0.0, "off"}, {kBypassId, 1.0, "on"}, {kPresetId, 0.0, "empty"},
  };
  for (const TextCase& c : cases)
  {
    SCOPED_TRACE(std::to_string(c.id) + " " + c.text);
    String128 text{};
    ASSERT_EQ(Controller().getParamStringByValue(c.id, c.normalized, text), kResultOk);
    EXPECT_EQ(iplug::UTF16ToUTF8(text, 128), c.text);
    String128 wide{};
    iplug::CopyToUTF16(c.text, wide);
    ParamValue parsed = -1.0;
    ASSERT_EQ(Controller().getParamValueByString(c.id, wide, parsed), kResultOk);
    EXPECT_NEAR(parsed, c.normalized, 1e-12);
  }
}

TEST_F(Vst3Parameters, PlainAndNormalisedConversions)
{
  EXPECT_DOUBLE_EQ(Controller().normalizedParamToPlain(9, 0.25), 25.0);
  EXPECT_DOUBLE_EQ(Controller().plainParamToNormalized(0, -15.0), 0.75);
  EXPECT_DOUBLE_EQ(Controller().normalizedParamToPlain(2, 1.0), 1.13);
}

TEST_F(Vst3Parameters, ControllerEditsAreConstrainedAndReadBack)
{
  EXPECT_EQ(Controller().setParamNormalized(9, 0.25), kResultOk);
  EXPECT_DOUBLE_EQ(Controller().getParamNormalized(9), 0.25);
  EXPECT_EQ(Controller().setParamNormalized(9, 7.0), kResultOk);
  EXPECT_DOUBLE_EQ(Controller().getParamNormalized(9), 1.0);
  // A two-state parameter at 0.5 rounds up.
  EXPECT_EQ(Controller().setParamNormalized(11, 0.5), kResultOk);
  EXPECT_DOUBLE_EQ(Controller().getParamNormalized(11), 1.0);
}

TEST_F(Vst3Parameters, PresetParameterAlwaysSelectsTheOnePreset)
{
  // The first selection captures the settings in force; later ones bring them back.
  ASSERT_EQ(Controller().setParamNormalized(9, 0.2), kResultOk);
  ASSERT_EQ(Controller().setParamNormalized(kPresetId, 1.0), kResultOk);
  EXPECT_DOUBLE_EQ(Controller().getParamNormalized(kPresetId), 0.0);
  ASSERT_EQ(Controller().setParamNormalized(9, 0.9), kResultOk);
  ASSERT_EQ(Controller().setParamNormalized(kPresetId, 0.0), kResultOk);
  EXPECT_DOUBLE_EQ(Controller().getParamNormalized(9), 0.2);
  ASSERT_EQ(Controller().setParamNormalized(9, 0.7), kResultOk);
  ASSERT_EQ(Controller().setParamNormalized(kPresetId, 1.0), kResultOk);
  EXPECT_DOUBLE_EQ(Controller().getParamNormalized(9), 0.2);
}

// A program change that arrives with audio is applied on the main thread at the next idle tick.
TEST_F(Vst3Parameters, ProgramChangeWithAudioIsAppliedAtTheNextIdleTick)
{
  host::ProcessSetup setup;
  setup.maxBlockSize = 64;
  std::string error;
  ASSERT_TRUE(effect->Start(setup, error)) << error;
  ASSERT_EQ(Controller().setParamNormalized(9, 0.3), kResultOk);
  std::vector<double> left(64, 0.0), right(64, 0.0);
  std::vector<double*> channels{left.data(), right.data()};
  ASSERT_TRUE(effect->Process(channels, 64, {{kPresetId, 10, 0.0}}));
  IdleTick(*effect); // the preset captures Mix at 30 %
  ASSERT_EQ(Controller().setParamNormalized(9, 0.9), kResultOk);
  ASSERT_EQ(Controller().setParamNormalized(kPresetId, 0.0), kResultOk);
  EXPECT_DOUBLE_EQ(Controller().getParamNormalized(9), 0.3);
}

TEST_F(Vst3Parameters, UnitAndProgramList)
{
  IUnitInfo* raw = nullptr;
  ASSERT_EQ(Controller().queryInterface(IUnitInfo::iid, reinterpret_cast<void**>(&raw)), kResultOk);
  const IPtr<IUnitInfo> units = owned(raw);
  ASSERT_EQ(units->getUnitCount(), 1);
  UnitInfo unit{};
  ASSERT_EQ(units->getUnitInfo(0, unit), kResultOk);
  EXPECT_EQ(unit.id, kRootUnitId);
  EXPECT_EQ(unit.parentUnitId, kNoParentUnitId);
  EXPECT_EQ(iplug::UTF16ToUTF8(unit.name, 128), "Root");

  ASSERT_EQ(units->getProgramListCount(), 1);
  ProgramListInfo list{};
  ASSERT_EQ(units->getProgramListInfo(0, list), kResultOk);
  EXPECT_EQ(iplug::UTF16ToUTF8(list.name, 128), "Factory Presets");
  EXPECT_EQ(list.programCount, 1);
  EXPECT_EQ(unit.programListId, list.id);
  String128 name{};
  ASSERT_EQ(units->getProgramName(list.id, 0, name), kResultOk);
  EXPECT_EQ(iplug::UTF16ToUTF8(name, 128), "empty");
  EXPECT_NE(units->getProgramName(list.id, 1, name), kResultOk);
  EXPECT_NE(units->getProgramListInfo(1, list), kResultOk);
  EXPECT_NE(units->hasProgramPitchNames(list.id, 0), kResultOk);
}

TEST_F(Vst3Parameters, UnknownIdsAndUnusableValuesAreRefused)
{
  const double nan = std::numeric_limits<double>::quiet_NaN();
  ParameterInfo info{};
  String128 text{};
  ParamValue value = 0.0;
  for (const int32 index : {-1, 14, 1000})
    EXPECT_NE(Controller().getParameterInfo(index, info), kResultOk) << index;
  for (const ParamID id : {12u, 999u, 65535u, 65538u})
  {
    EXPECT_NE(Controller().setParamNormalized(id, 0.5), kResultOk) << id;
    EXPECT_NE(Controller().getParamStringByValue(id, 0.5, text), kResultOk) << id;
    EXPECT_NE(Controller().getParamValueByString(id, text, value), kResultOk) << id;
  }
  EXPECT_NE(Controller().setParamNormalized(9, nan), kResultOk);
  EXPECT_NE(Controller().setParamNormalized(9, std::numeric_limits<double>::infinity()), kResultOk);
  EXPECT_DOUBLE_EQ(Controller().getParamNormalized(9), 0.5);
  EXPECT_NE(Controller().getParamStringByValue(9, nan, text), kResultOk);
  EXPECT_NE(Controller().getParamStringByValue(9, 0.5, nullptr), kResultOk);
  iplug::CopyToUTF16("loud", text);
  EXPECT_NE(Controller().getParamValueByString(9, text, value), kResultOk);
}

} // namespace
} // namespace velmora::test
