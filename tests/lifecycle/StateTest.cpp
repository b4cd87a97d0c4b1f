#include "dsp/SaturationCurve.h"
#include "tests/lifecycle/LifecycleHarness.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstring>
#include <random>

using iplug::IByteChunk;
using lifecycle_test::PluginHarness;

namespace
{

// A parameter block built byte by byte, little-endian, independent of IByteChunk's own coding.
IByteChunk BlockOf(const std::vector<double>& values)
{
  IByteChunk chunk;
  for (const double v : values)
  {
    const auto bits = std::bit_cast<uint64_t>(v);
    for (int b = 0; b < 8; ++b)
    {
      const auto byte = static_cast<uint8_t>(bits >> (8 * b));
      chunk.PutBytes(&byte, 1);
    }
  }
  return chunk;
}

std::vector<double> ValuesOf(const Velmora& plugin)
{
  std::vector<double> values;
  for (int i = 0; i < plugin.NParams(); ++i)
    values.push_back(plugin.GetParam(i)->Value());
  return values;
}

std::vector<double> Defaults(const Velmora& plugin)
{
  std::vector<double> values;
  for (int i = 0; i < plugin.NParams(); ++i)
    values.push_back(plugin.GetParam(i)->GetDefault());
  return values;
}

// Whether the record in force is the one the current parameter values give.
bool CoefficientsFollowParams(const Velmora& plugin)
{
  velmora::ShaperSettings s;
  s.threshold = plugin.GetParam(kThreshold)->Value();
  s.thresholdAsym = plugin.GetParam(kThresholdAsym)->Value();
  s.nonlinearity = plugin.GetParam(kNonlinearity)->Value();
  s.nonlinearityAsym = plugin.GetParam(kNonlinearityAsym)->Value();
  s.knee = plugin.GetParam(kKnee)->Value();
  s.kneeAsym = plugin.GetParam(kKneeAsym)->Value();
  s.modA = plugin.GetParam(kModA)->Value();
  s.modB = plugin.GetParam(kModB)->Value();
  s.gain = plugin.GetParam(kGain)->Value();
  s.mix = plugin.GetParam(kMix)->Value();
  s.output = plugin.GetParam(kOutput)->Value();
  const velmora::ShaperCoefficients expected = velmora::ComputeShaperCoefficients(s);
  velmora::ShaperCoefficients record;
  EXPECT_TRUE(plugin.TryReadCoefficients(record));
  return std::memcmp(&expected, &record, sizeof(record)) == 0;
}

} // namespace

TEST(State, DefaultsSaveAsTheLittleEndianParameterBlock)
{
  PluginHarness h;
  IByteChunk saved;
  ASSERT_TRUE(h.Plugin().SerializeState(saved));
  ASSERT_EQ(saved.Size(), 96);
  const IByteChunk expected = BlockOf(Defaults(h.Plugin()));
  EXPECT_TRUE(saved.IsEqual(expected));
  // "Mix" at 50 sits at offset 72: 0x4049000000000000, low byte first.
  EXPECT_EQ(saved.GetData()[72 + 6], 0x49);
  EXPECT_EQ(saved.GetData()[72 + 7], 0x40);
}

TEST(State, SavingAppendsToWhatTheChunkHolds)
{
  PluginHarness h;
  IByteChunk saved;
  const int32_t marker = 0x01020304;
  saved.Put(&marker);
  ASSERT_TRUE(h.Plugin().SerializeState(saved));
  ASSERT_EQ(saved.Size(), 100);
  EXPECT_EQ(h.Plugin().UnserializeState(saved, 4), 100);
  EXPECT_EQ(ValuesOf(h.Plugin()), Defaults(h.Plugin()));
}

TEST(State, RandomSettingsSurviveARoundTrip)
{
  std::mt19937 rng(1234);
  std::uniform_real_distribution<double> normalized(0.0, 1.0);
  PluginHarness source;
  PluginHarness target;
  for (int round = 0; round < 200; ++round)
  {
    for (int i = 0; i < kNumParams; ++i)
      source.Plugin().GetParam(i)->SetNormalized(normalized(rng));
    IByteChunk saved;
    ASSERT_TRUE(source.Plugin().SerializeState(saved));
    ASSERT_EQ(target.Plugin().UnserializeState(saved, 0), 96);
    ASSERT_EQ(ValuesOf(target.Plugin()), ValuesOf(source.Plugin())) << "round " << round;
  }
}

TEST(State, RestoredValuesAreConstrainedLikeAnyOtherWrite)
{
  struct Case
  {
    int param;
    double stored;
    double restored;
  };
  const Case cases[] = {
      {kMix, 150.0, 100.0},        {kMix, -3.0, 0.0},         {kOversampling, 0.7, 1.0},
      {kOversampling, 0.4, 0.0},   {kOversampling, 0.5, 1.0}, {kGain, 1e300, 60.0},
      {kThreshold, -1e300, -60.0}, {kKnee, 0.0, 0.1},
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(::testing::Message() << "param " << c.param << " stored " << c.stored);
    PluginHarness h;
    std::vector<double> values = Defaults(h.Plugin());
    values[static_cast<size_t>(c.param)] = c.stored;
    EXPECT_EQ(h.Plugin().UnserializeState(BlockOf(values), 0), 96);
    EXPECT_EQ(h.Plugin().GetParam(c.param)->Value(), c.restored);
  }
}

// The restored "Oversampling" goes through the change handling: the switch follows it.
TEST(State, RestoredOversamplingDrivesTheSwitch)
{
  PluginHarness h;
  std::vector<double> values = Defaults(h.Plugin());
  values[kOversampling] = 0.7;
  ASSERT_EQ(h.Plugin().UnserializeState(BlockOf(values), 0), 96);
  EXPECT_TRUE(h.Plugin().IsOversamplingRequested());
  h.SettleSwitch();
  EXPECT_TRUE(h.Plugin().IsOversamplingOn());

  values[kOversampling] = 0.4;
  ASSERT_EQ(h.Plugin().UnserializeState(BlockOf(values), 0), 96);
  EXPECT_FALSE(h.Plugin().IsOversamplingRequested());
  h.SettleSwitch();
  EXPECT_FALSE(h.Plugin().IsOversamplingOn());
}

// Parameters written behind the plug-in's back (no change handling) show whether a restore ran
// the handling for parameters beyond the ones it could read.
TEST(State, AShortBlockRestoresWhatFitsRunsAllChangeHandlingAndFails)
{
  for (const int length : {0, 7, 8, 40, 95})
  {
    SCOPED_TRACE(length);
    PluginHarness h;
    h.Plugin().OpenEditor();
    h.Plugin().GetParam(kGain)->Set(30.0);
    h.Plugin().GetParam(kOversampling)->Set(1.0);
    h.Editor().Curve()->ClearDirty();
    ASSERT_FALSE(CoefficientsFollowParams(h.Plugin()));

    std::vector<double> values(12, 0.0);
    for (size_t i = 0; i < values.size(); ++i)
      values[i] = h.Plugin().GetParam(static_cast<int>(i))->GetMin();
    IByteChunk full = BlockOf(values);
    IByteChunk shortBlock;
    shortBlock.PutBytes(full.GetData(), length);
    const std::vector<double> current = ValuesOf(h.Plugin());

    EXPECT_EQ(h.Plugin().UnserializeState(shortBlock, 0), -1);
    const int fitted = length / 8;
    for (int i = 0; i < kNumParams; ++i)
    {
      const double expected =
          i < fitted ? values[static_cast<size_t>(i)] : current[static_cast<size_t>(i)];
      EXPECT_EQ(h.Plugin().GetParam(i)->Value(), expected) << "param " << i;
    }
    EXPECT_TRUE(h.Plugin().IsOversamplingRequested());
    EXPECT_TRUE(CoefficientsFollowParams(h.Plugin()));
    EXPECT_TRUE(h.Editor().Curve()->IsDirty());
  }
}

TEST(State, RestoreFromAPositionOutsideTheChunkFails)
{
  PluginHarness h;
  const IByteChunk block = BlockOf(Defaults(h.Plugin()));
  for (const int start : {-8, -1, 1, 96, 97, 1 << 30})
  {
    SCOPED_TRACE(start);
    EXPECT_EQ(h.Plugin().UnserializeState(block, start), -1);
  }
}

TEST(State, RestoreNotificationShowsValuesOnBoundControls)
{
  PluginHarness h;
  h.Plugin().OpenEditor();
  std::vector<double> values = Defaults(h.Plugin());
  values[kGain] = 15.0;
  values[kMix] = 100.0;
  ASSERT_EQ(h.Plugin().UnserializeState(BlockOf(values), 0), 96);
  h.Plugin().OnRestoreState();
  EXPECT_DOUBLE_EQ(h.Editor().ParamControl(kGain)->GetValue(), 0.25);
  EXPECT_DOUBLE_EQ(h.Editor().ParamControl(kMix)->GetValue(), 1.0);
  EXPECT_DOUBLE_EQ(h.Editor().ParamControl(kThreshold)->GetValue(), 1.0);
}

TEST(Presets, OneUninitialisedPresetNamedEmpty)
{
  PluginHarness h;
  EXPECT_EQ(h.Plugin().NPresets(), 1);
  EXPECT_STREQ(h.Plugin().GetPresetName(0), "empty");
  EXPECT_FALSE(h.Plugin().GetPresetInitialized(0));
  EXPECT_EQ(h.Plugin().GetCurrentPresetIdx(), 0);
  for (const int outside : {-1, 1, 1000})
  {
    EXPECT_FALSE(h.Plugin().RestorePreset(outside));
    EXPECT_STREQ(h.Plugin().GetPresetName(outside), "");
    EXPECT_FALSE(h.Plugin().GetPresetInitialized(outside));
  }
}

TEST(Presets, FirstSelectionCapturesAndLaterSelectionsRestore)
{
  PluginHarness h;
  h.Plugin().OpenEditor();
  h.Edit(kGain, 0.5);
  h.Edit(kMix, 0.2);
  const std::vector<double> captured = ValuesOf(h.Plugin());

  ASSERT_TRUE(h.Plugin().RestorePreset(0));
  EXPECT_TRUE(h.Plugin().GetPresetInitialized(0));
  EXPECT_EQ(ValuesOf(h.Plugin()), captured);

  h.Edit(kGain, 0.9);
  h.Edit(kThreshold, 0.1);
  h.Editor().ParamControl(kGain)->SetValue(0.0);
  ASSERT_TRUE(h.Plugin().RestorePreset(0));
  EXPECT_EQ(ValuesOf(h.Plugin()), captured);
  EXPECT_DOUBLE_EQ(h.Editor().ParamControl(kGain)->GetValue(), 0.5);
  EXPECT_EQ(h.Plugin().GetCurrentPresetIdx(), 0);

  // The capture is not part of the saved state.
  IByteChunk saved;
  ASSERT_TRUE(h.Plugin().SerializeState(saved));
  EXPECT_EQ(saved.Size(), 96);
}
