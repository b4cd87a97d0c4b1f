#include "tests/vst3/Vst3TestSupport.h"

#include "tools/host/vst3/VST3MemoryStream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

using namespace Steinberg;
using namespace Steinberg::Vst;
using velmora::host::vst3::VST3MemoryStream;

namespace velmora::test
{
namespace
{

constexpr int kParams = 12;
constexpr int kMix = 9;
constexpr int kOversampling = 11;

class Vst3State : public ::testing::Test
{
protected:
  void SetUp() override
  {
    effect = LoadEffect();
    ASSERT_NE(effect, nullptr);
  }

  std::vector<double> Normalized()
  {
    std::vector<double> values;
    for (int i = 0; i < kParams; ++i)
      values.push_back(effect->GetParameter(static_cast<uint32_t>(i)));
    return values;
  }

  // A state whose every value differs from the defaults.
  static std::vector<double> ChangedValues()
  {
    return {-12.5, 4.0, 1.05, -0.02, 3.3, -2.0, 25.0, 75.0, 18.0, 80.0, -6.0, 1.0};
  }

  std::unique_ptr<host::vst3::VST3HostedPlugin> effect;
};

TEST_F(Vst3State, DefaultsSaveAsOneHundredBytesEndingInAZeroBypassWord)
{
  std::vector<uint8_t> state;
  ASSERT_TRUE(effect->SaveState(state));
  ASSERT_EQ(state.size(), 100u);
  const std::vector<uint8_t> block = EncodeParameterBlock(DefaultParameterValues());
  EXPECT_TRUE(std::equal(block.begin(), block.end(), state.begin()));
  EXPECT_EQ(std::vector<uint8_t>(state.end() - 4, state.end()), std::vector<uint8_t>(4, 0));
}

TEST_F(Vst3State, BypassOnIsSavedAsOne)
{
  ASSERT_TRUE(effect->SetParameter(kBypassId, 1.0));
  std::vector<uint8_t> state;
  ASSERT_TRUE(effect->SaveState(state));
  ASSERT_EQ(state.size(), 100u);
  EXPECT_EQ(std::vector<uint8_t>(state.end() - 4, state.end()), (std::vector<uint8_t>{1, 0, 0, 0}));
}

TEST_F(Vst3State, RoundTripThroughASecondInstance)
{
  std::vector<uint8_t> state = EncodeParameterBlock(ChangedValues());
  state.insert(state.end(), {1, 0, 0, 0});
  ASSERT_TRUE(effect->LoadState(state));
  std::vector<uint8_t> saved;
  ASSERT_TRUE(effect->SaveState(saved));
  EXPECT_EQ(saved, state);

  auto second = LoadEffect();
  ASSERT_NE(second, nullptr);
  ASSERT_TRUE(second->LoadState(saved));
  for (int i = 0; i < kParams; ++i)
    EXPECT_DOUBLE_EQ(second->GetParameter(static_cast<uint32_t>(i)),
                     effect->GetParameter(static_cast<uint32_t>(i)))
        << i;
  EXPECT_DOUBLE_EQ(second->GetParameter(kBypassId), 1.0);
}

TEST_F(Vst3State, BlockWithoutBypassWordIsRefusedButItsValuesStay)
{
  ASSERT_FALSE(effect->LoadState(EncodeParameterBlock(ChangedValues())));
  std::vector<uint8_t> saved;
  ASSERT_TRUE(effect->SaveState(saved));
  const std::vector<uint8_t> block = EncodeParameterBlock(ChangedValues());
  EXPECT_TRUE(std::equal(block.begin(), block.end(), saved.begin()));
}

// A short block restores the values that fit; the rest keep theirs and the call fails.
TEST_F(Vst3State, ShortStreamsRestoreWhatFitsAndFail)
{
  for (const size_t length : {size_t{0}, size_t{7}, size_t{8}, size_t{50}, size_t{95}})
  {
    SCOPED_TRACE(length);
    auto fresh = LoadEffect();
    ASSERT_NE(fresh, nullptr);
    const std::vector<double> before = [&]
    {
      std::vector<double> v;
      for (int i = 0; i < kParams; ++i)
        v.push_back(fresh->GetParameter(static_cast<uint32_t>(i)));
      return v;
    }();
    std::vector<uint8_t> state = EncodeParameterBlock(ChangedValues());
    state.resize(length);
    EXPECT_FALSE(fresh->LoadState(state));

    auto reference = LoadEffect();
    std::vector<uint8_t> full = EncodeParameterBlock(ChangedValues());
    full.insert(full.end(), {0, 0, 0, 0});
    ASSERT_TRUE(reference->LoadState(full));
    for (int i = 0; i < kParams; ++i)
    {
      const bool restored = static_cast<size_t>(i + 1) * 8 <= length;
      const double expected = restored ? reference->GetParameter(static_cast<uint32_t>(i))
                                       : before[static_cast<size_t>(i)];
      EXPECT_DOUBLE_EQ(fresh->GetParameter(static_cast<uint32_t>(i)), expected) << i;
    }
  }
}

TEST_F(Vst3State, OutOfRangeValuesAreConstrained)
{
  std::vector<double> values = DefaultParameterValues();
  values[kMix] = 150.0;
  values[kOversampling] = 0.7;
  std::vector<uint8_t> state = EncodeParameterBlock(values);
  state.insert(state.end(), {0, 0, 0, 0});
  ASSERT_TRUE(effect->LoadState(state));
  EXPECT_DOUBLE_EQ(effect->GetParameter(kMix), 1.0);
  EXPECT_DOUBLE_EQ(effect->GetParameter(kOversampling), 1.0);

  values[kOversampling] = 0.4;
  state = EncodeParameterBlock(values);
  state.insert(state.end(), {0, 0, 0, 0});
  ASSERT_TRUE(effect->LoadState(state));
  EXPECT_DOUBLE_EQ(effect->GetParameter(kOversampling), 0.0);
}

TEST_F(Vst3State, GarbageLeavesEveryParameterInItsRange)
{
  std::mt19937 random(1234);
  for (const size_t length : {size_t{3}, size_t{100}, size_t{101}, size_t{1000}})
  {
    std::vector<uint8_t> garbage(length);
    for (uint8_t& byte : garbage)
      byte = static_cast<uint8_t>(random());
    effect->LoadState(garbage);
    for (int i = 0; i < kParams; ++i)
    {
      const double value = effect->GetParameter(static_cast<uint32_t>(i));
      EXPECT_TRUE(value >= 0.0 && value <= 1.0) << "parameter " << i << " after " << length;
    }
  }
}

TEST_F(Vst3State, StreamFailingMidReadIsRefused)
{
  std::vector<uint8_t> state = EncodeParameterBlock(ChangedValues());
  state.insert(state.end(), {0, 0, 0, 0});
  VST3MemoryStream stream(state);
  stream.FailReadsBeyond(50);
  const std::vector<double> before = Normalized();
  EXPECT_NE(effect->Component().setState(&stream), kResultOk);
  // The failing read's bytes are dropped, so nothing was restored.
  EXPECT_EQ(Normalized(), before);
}

// WaveLab reports failure on the read that reaches the end although it delivered the bytes.
TEST_F(Vst3State, BytesOfAFailingReadCountOnlyForWaveLab)
{
  std::vector<uint8_t> state = EncodeParameterBlock(ChangedValues());
  state.insert(state.end(), {0, 0, 0, 0});
  for (const auto& [hostName, accepted] :
       {std::pair{"WaveLab Pro 12", true}, std::pair{"Some Other Host", false}})
  {
    SCOPED_TRACE(hostName);
    auto instance = LoadEffect(hostName);
    ASSERT_NE(instance, nullptr);
    VST3MemoryStream stream(state);
    stream.FailShortReads();
    EXPECT_EQ(instance->Component().setState(&stream) == kResultOk, accepted);
  }
}

TEST_F(Vst3State, NullStreamsAreRefused)
{
  EXPECT_NE(effect->Component().setState(nullptr), kResultOk);
  EXPECT_NE(effect->Component().getState(nullptr), kResultOk);
}

TEST_F(Vst3State, ControllerSideStateCallsSucceedAndDoNothing)
{
  VST3MemoryStream stream;
  EXPECT_EQ(effect->Controller().getState(&stream), kResultOk);
  EXPECT_TRUE(stream.Bytes().empty());
  VST3MemoryStream changed(EncodeParameterBlock(ChangedValues()));
  const std::vector<double> before = Normalized();
  EXPECT_EQ(effect->Controller().setState(&changed), kResultOk);
  EXPECT_EQ(effect->Controller().setComponentState(&changed), kResultOk);
  EXPECT_EQ(Normalized(), before);
}

} // namespace
} // namespace velmora::test
