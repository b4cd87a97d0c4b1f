#include "tests/kernels/KernelTestSupport.h"

#include <algorithm>

namespace velmora::test
{
namespace
{

struct Products
{
  double sum = 0.0;
  double magnitude = 0.0; // sum of the products' magnitudes, the scale of rounding
};

void Add(Products& p, double tap, double sample)
{
  p.sum += tap * sample;
  p.magnitude += std::fabs(tap * sample);
}

std::vector<double> Random(std::mt19937_64& rng, size_t count)
{
  std::uniform_real_distribution<double> value(-1.0, 1.0);
  std::vector<double> v(count);
  for (double& x : v)
    x = value(rng);
  return v;
}

// Rounding of a sum of n products, each rounded once or twice, stays within this many units of
// the products' magnitudes.
double Tolerance(const Products& p, int terms)
{
  return 2.0 * (terms + 2) * std::numeric_limits<double>::epsilon() * p.magnitude;
}

class FirKernel : public testing::TestWithParam<const DspKernels*>
{
};

// Both kernels against plain dot products, over the resampler's filter lengths and odd ones, and
// block lengths that leave scalar tails.
TEST_P(FirKernel, InterpolatorMatchesPlainDotProducts)
{
  std::mt19937_64 rng(17);
  for (const int branch : {1, 2, 3, 8, 16, 17, 165, 413})
  {
    for (const int length : {0, 1, 5, 16, 33, 64, 257, 1024})
    {
      const auto even = Random(rng, static_cast<size_t>(branch));
      const auto odd = Random(rng, static_cast<size_t>(branch));
      // Exactly the history the outputs need, so that a read past it shows under ASan.
      const auto history = Random(rng, static_cast<size_t>(branch - 1 + length));
      std::vector<double> output(2 * static_cast<size_t>(length) + 1, 42.0);
      GetParam()->interpolate2x(even.data(), odd.data(), branch, history.data(), length,
                                output.data());
      for (int m = 0; m < length; ++m)
      {
        Products e;
        Products o;
        for (int j = 0; j < branch; ++j)
        {
          Add(e, even[static_cast<size_t>(j)], history[static_cast<size_t>(m + j)]);
          Add(o, odd[static_cast<size_t>(j)], history[static_cast<size_t>(m + j)]);
        }
        ASSERT_NEAR(output[2 * static_cast<size_t>(m)], e.sum, Tolerance(e, branch))
            << "branch " << branch << " length " << length << " m " << m;
        ASSERT_NEAR(output[2 * static_cast<size_t>(m) + 1], o.sum, Tolerance(o, branch))
            << "branch " << branch << " length " << length << " m " << m;
      }
      EXPECT_EQ(output.back(), 42.0) << "wrote past the block";
    }
  }
}

TEST_P(FirKernel, DecimatorMatchesPlainDotProducts)
{
  std::mt19937_64 rng(19);
  for (const int taps : {1, 2, 3, 16, 17, 33, 37, 330, 826})
  {
    for (const int count : {0, 1, 7, 64, 130, 512})
    {
      const int evenCount = (taps + 1) / 2;
      const int oddCount = taps / 2;
      const auto evenTaps = Random(rng, static_cast<size_t>(evenCount));
      const auto oddTaps = Random(rng, static_cast<size_t>(oddCount));
      const auto evenPhase = Random(rng, static_cast<size_t>(count + evenCount - 1));
      const auto oddPhase = Random(rng, static_cast<size_t>(std::max(count + oddCount - 1, 0)));
      std::vector<double> output(static_cast<size_t>(count) + 1, 42.0);
      GetParam()->decimate2x(evenTaps.data(), evenCount, oddTaps.data(), oddCount, evenPhase.data(),
                             oddPhase.data(), count, output.data());
      for (int m = 0; m < count; ++m)
      {
        Products p;
        for (int k = 0; k < taps; ++k)
        {
          const auto j = static_cast<size_t>(k / 2);
          const auto at = static_cast<size_t>(m) + j;
          if (k % 2 == 0)
            Add(p, evenTaps[j], evenPhase[at]);
          else
            Add(p, oddTaps[j], oddPhase[at]);
        }
        ASSERT_NEAR(output[static_cast<size_t>(m)], p.sum, Tolerance(p, taps))
            << "taps " << taps << " count " << count << " m " << m;
      }
      EXPECT_EQ(output.back(), 42.0) << "wrote past the block";
    }
  }
}

// An output does not depend on where the block it falls in starts: the sums run in the same order
// in the vector part and in the tail.
TEST_P(FirKernel, AnOutputDoesNotDependOnTheBlockSplit)
{
  std::mt19937_64 rng(23);
  constexpr int kBranch = 165;
  constexpr int kLength = 200;
  const auto even = Random(rng, kBranch);
  const auto odd = Random(rng, kBranch);
  const auto history = Random(rng, kBranch + kLength);
  std::vector<double> whole(2 * kLength);
  GetParam()->interpolate2x(even.data(), odd.data(), kBranch, history.data(), kLength,
                            whole.data());
  for (const int start : {1, 3, 37, 150})
  {
    std::vector<double> part(2 * static_cast<size_t>(kLength - start));
    GetParam()->interpolate2x(even.data(), odd.data(), kBranch, history.data() + start,
                              kLength - start, part.data());
    for (size_t i = 0; i < part.size(); ++i)
      ASSERT_EQ(Bits(part[i]), Bits(whole[2 * static_cast<size_t>(start) + i]))
          << "start " << start << " output " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Variants, FirKernel, testing::ValuesIn(SupportedDspKernels()),
                         VariantName);

} // namespace
} // namespace velmora::test
