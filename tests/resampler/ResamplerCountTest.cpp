#include "tests/resampler/ResamplerTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace velmora::test
{
namespace
{

constexpr int kMaxIn = 1024;

TEST(ResamplerCount, UpsamplerGivesFourPerInputSampleForEveryBlockSize)
{
  auto up = MakeUp(48000.0, kMaxIn, kRealtime);
  const std::vector<double> input(kMaxIn, 0.25);
  for (const int length : {1, 2, 3, 4, 64, 97, 256, 1023, kMaxIn})
  {
    double* output = nullptr;
    EXPECT_EQ(up->process(input.data(), length, output), 4 * length) << "length " << length;
    EXPECT_NE(output, nullptr);
  }
  EXPECT_EQ(up->getMaxOutLen(), 4 * kMaxIn);
}

struct DownCase
{
  const char* name;
  std::vector<int> blocks;
};

void PrintTo(const DownCase& c, std::ostream* os)
{
  *os << c.name;
}

class ResamplerDownCount : public testing::TestWithParam<DownCase>
{
};

// After every block the total output is a quarter of the total input, rounded down: what does not
// fill a group of four is carried into the next block.
TEST_P(ResamplerDownCount, TotalOutputIsAQuarterOfTotalInput)
{
  constexpr int kMaxIn4 = 4 * kMaxIn;
  auto down = MakeDown(48000.0, kMaxIn4 - 1, kRealtime);
  const std::vector<double> input(kMaxIn4, -0.5);
  long totalIn = 0;
  long totalOut = 0;
  for (const int length : GetParam().blocks)
  {
    double* output = nullptr;
    const int count = down->process(input.data(), length, output);
    totalIn += length;
    totalOut += count;
    ASSERT_EQ(totalOut, totalIn / 4) << "after a block of " << length;
    ASSERT_LE(count, down->getMaxOutLen());
  }
}

INSTANTIATE_TEST_SUITE_P(Blocks, ResamplerDownCount,
                         testing::Values(DownCase{"multiples_of_four", {4, 8, 256, 1024, 4092, 4}},
                                         DownCase{"one_at_a_time", {1, 1, 1, 1, 1, 1, 1, 1, 1}},
                                         DownCase{"ragged", {3, 5, 7, 2, 1, 4093, 4095, 6, 10}},
                                         DownCase{"largest_after_carry", {3, 4095, 3, 4095, 1}}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace velmora::test
