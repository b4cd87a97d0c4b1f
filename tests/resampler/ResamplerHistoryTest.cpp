#include "tests/resampler/ResamplerTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace velmora::test
{
namespace
{

constexpr int kMaxIn = 4096;

struct DirectionCase
{
  const char* name;
  bool upward;
  Quality quality;
};

void PrintTo(const DirectionCase& c, std::ostream* os)
{
  *os << c.name;
}

class ResamplerHistory : public testing::TestWithParam<DirectionCase>
{
protected:
  std::unique_ptr<CDSPResampler> Make() const
  {
    const DirectionCase& c = GetParam();
    return c.upward ? MakeUp(44100.0, kMaxIn, c.quality) : MakeDown(44100.0, kMaxIn, c.quality);
  }
};

// Cutting a signal into blocks of any size changes nothing in the output.
TEST_P(ResamplerHistory, OutputDoesNotDependOnBlockSizes)
{
  const auto signal = Sine(kMaxIn, 0.013, 0.5);
  auto whole = Make();
  const auto expected = RunThrough(*whole, signal, kMaxIn);
  for (const int block : {1, 3, 64, 1000})
  {
    auto pieces = Make();
    const auto got = RunThrough(*pieces, signal, block);
    ASSERT_EQ(got.size(), expected.size()) << "block " << block;
    for (std::size_t n = 0; n < got.size(); ++n)
      ASSERT_NEAR(got[n], expected[n], 1e-12) << "block " << block << " sample " << n;
  }
}

// Non-finite samples leave the history once they are older than the filters, and clear() drops
// them at once.
TEST_P(ResamplerHistory, NonFiniteInputDoesNotPoisonLaterOutput)
{
  std::vector<double> poisoned(64, 0.0);
  poisoned[5] = std::numeric_limits<double>::quiet_NaN();
  poisoned[9] = std::numeric_limits<double>::infinity();
  poisoned[20] = -std::numeric_limits<double>::infinity();
  const std::vector<double> zeros(kMaxIn, 0.0);

  auto r = Make();
  RunThrough(*r, poisoned, 64);
  const auto after = RunThrough(*r, zeros, kMaxIn);
  ASSERT_FALSE(after.empty());
  EXPECT_EQ(after.back(), 0.0);

  const auto signal = Sine(256, 0.02);
  auto fresh = Make();
  const auto expected = RunThrough(*fresh, signal, 256);
  RunThrough(*r, poisoned, 64);
  r->clear();
  const auto got = RunThrough(*r, signal, 256);
  EXPECT_EQ(got, expected);
}

INSTANTIATE_TEST_SUITE_P(Directions, ResamplerHistory,
                         testing::Values(DirectionCase{"up_realtime", true, kRealtime},
                                         DirectionCase{"down_realtime", false, kRealtime},
                                         DirectionCase{"up_offline", true, kOffline},
                                         DirectionCase{"down_offline", false, kOffline}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace velmora::test
