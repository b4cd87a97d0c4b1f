// Saving and loading state through the state extension and the host's streams.
#include "tests/clap/ClapTestSupport.h"
#include "tools/host/clap/ClapStreams.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace
{

using namespace clapabi;
using velmora::host::ClapMemoryIStream;
using velmora::host::ClapMemoryOStream;
using velmora::test::LoadClap;

constexpr double kDefaults[12] = {0, 0, 1, 0, 0.1, 0, 0, 0, 0, 50, 0, 0};

std::vector<uint8_t> Block(const double (&values)[12], size_t extraBytes = 0)
{
  std::vector<uint8_t> bytes(sizeof(values) + extraBytes, 0);
  std::memcpy(bytes.data(), values, sizeof(values));
  return bytes;
}

class ClapStateTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    mPlugin = LoadClap();
    ASSERT_TRUE(mPlugin);
    mState = mPlugin->Extension<clap_plugin_state>("clap.state");
    mParams = mPlugin->Extension<clap_plugin_params>("clap.params");
    ASSERT_NE(mState, nullptr);
    ASSERT_NE(mParams, nullptr);
  }

  bool Load(std::vector<uint8_t> bytes, const ClapMemoryIStream::Behaviour& behaviour = {})
  {
    ClapMemoryIStream stream(std::move(bytes), behaviour);
    return mState->load(mPlugin->Plugin(), stream.Record());
  }

  double Value(uint32_t id) const
  {
    double value = -1.0;
    EXPECT_TRUE(mParams->get_value(mPlugin->Plugin(), id, &value));
    return value;
  }

  std::unique_ptr<velmora::host::ClapHostedPlugin> mPlugin;
  const clap_plugin_state* mState = nullptr;
  const clap_plugin_params* mParams = nullptr;
};

TEST_F(ClapStateTest, SaveAtDefaultsGivesTheParameterBlock)
{
  for (const uint64_t perWrite : {uint64_t{UINT64_MAX}, uint64_t{3}, uint64_t{1}})
  {
    ClapMemoryOStream stream{{perWrite, -1}};
    ASSERT_TRUE(mState->save(mPlugin->Plugin(), stream.Record())) << perWrite;
    EXPECT_EQ(stream.Bytes(), Block(kDefaults)) << perWrite;
  }
}

TEST_F(ClapStateTest, SaveFailsWhenTheStreamFails)
{
  for (const int failing : {0, 2})
  {
    ClapMemoryOStream stream{{5, failing}};
    EXPECT_FALSE(mState->save(mPlugin->Plugin(), stream.Record())) << failing;
  }
  EXPECT_FALSE(mState->save(mPlugin->Plugin(), nullptr));
}

TEST_F(ClapStateTest, LoadOfOneBlockRestoresAndAsksForARescan)
{
  double values[12] = {-6, 3, 1.05, 0.01, 2, -1, 40, 20, 12, 150, -3, 0.7};
  ASSERT_TRUE(Load(Block(values), {7, -1, -1}));
  EXPECT_DOUBLE_EQ(Value(0), 0.9);
  EXPECT_DOUBLE_EQ(Value(9), 1.0);  // "Mix" 150 clamped to 100
  EXPECT_DOUBLE_EQ(Value(11), 1.0); // "Oversampling" 0.7 rounds to on
  EXPECT_EQ(mPlugin->Host().ParamRescans(), std::vector<uint32_t>{CLAP_PARAM_RESCAN_VALUES});

  std::vector<uint8_t> saved;
  ASSERT_TRUE(mPlugin->SaveState(saved));
  values[9] = 100;
  values[11] = 1;
  EXPECT_EQ(saved, Block(values));
}

TEST_F(ClapStateTest, LoadOfExtraBytesAppliesValuesButAnswersFalse)
{
  double values[12] = {-12, 0, 1, 0, 0.1, 0, 0, 0, 0, 50, 0, 0};
  EXPECT_FALSE(Load(Block(values, 4)));
  EXPECT_DOUBLE_EQ(Value(0), 0.8);
  EXPECT_TRUE(mPlugin->Host().ParamRescans().empty());
}

struct BadLoadCase
{
  const char* name;
  size_t size;
  ClapMemoryIStream::Behaviour behaviour;
};

class ClapBadLoadTest : public ClapStateTest, public ::testing::WithParamInterface<BadLoadCase>
{
};

TEST_P(ClapBadLoadTest, AnswersFalseAndAsksNoRescan)
{
  const BadLoadCase& c = GetParam();
  double values[12] = {-12, 0, 1, 0, 0.1, 0, 0, 0, 0, 50, 0, 0};
  std::vector<uint8_t> bytes = Block(values, 8);
  bytes.resize(c.size);
  EXPECT_FALSE(Load(bytes, c.behaviour));
  EXPECT_TRUE(mPlugin->Host().ParamRescans().empty());
  // The instance stays usable: a proper block loads afterwards.
  EXPECT_TRUE(Load(Block(kDefaults)));
}

INSTANTIATE_TEST_SUITE_P(Streams, ClapBadLoadTest,
                         ::testing::Values(BadLoadCase{"empty", 0, {}},
                                           BadLoadCase{"short_block", 95, {}},
                                           BadLoadCase{"one_value", 8, {}},
                                           BadLoadCase{"hundred_bytes", 100, {}},
                                           BadLoadCase{"error_first", 96, {UINT64_MAX, 0, -1}},
                                           BadLoadCase{"error_after_data", 96, {10, 3, -1}},
                                           BadLoadCase{"zero_early", 96, {10, -1, 2}},
                                           BadLoadCase{"zero_first", 96, {UINT64_MAX, -1, 0}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ClapStateTest, NaNInAStateKeepsTheValue)
{
  double values[12] = {-12, 0, 1, 0, 0.1, 0, 0, 0, 0, 50, 0, 0};
  values[9] = std::nan("");
  ASSERT_TRUE(Load(Block(values)));
  EXPECT_DOUBLE_EQ(Value(9), 0.5);
  EXPECT_DOUBLE_EQ(Value(0), 0.8);
}

TEST_F(ClapStateTest, LoadWithoutStreamAnswersFalse)
{
  EXPECT_FALSE(mState->load(mPlugin->Plugin(), nullptr));
}

} // namespace
