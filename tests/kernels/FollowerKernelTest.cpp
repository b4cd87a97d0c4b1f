#include "dsp/AttRelEnvelope.h"
#include "tests/kernels/KernelTestSupport.h"

#include <array>

namespace velmora::test
{
namespace
{

class FollowerKernel : public testing::TestWithParam<const DspKernels*>
{
};

// Four followers at different rates and times, stepped by the kernel over awkward signals, end
// where four scalar followers stepped sample by sample end, to the bit.
TEST_P(FollowerKernel, MatchesFourScalarFollowersBitForBit)
{
  std::mt19937_64 rng(5);
  std::uniform_real_distribution<double> rate(8000.0, 384000.0);
  std::uniform_real_distribution<double> attackMs(0.1, 20.0);
  std::uniform_real_distribution<double> releaseMs(20.0, 1000.0);
  std::uniform_real_distribution<double> startLevel(0.0, 2.0);
  for (int trial = 0; trial < 300; ++trial)
  {
    std::vector<AttRelEnvelope> followers;
    std::array<double, 4> attack{};
    std::array<double, 4> release{};
    std::array<double, 4> levels{};
    std::array<std::vector<double>, 4> signals;
    std::array<const double*, 4> sources{};
    const int length = std::uniform_int_distribution<int>(0, 400)(rng);
    for (size_t k = 0; k < 4; ++k)
    {
      followers.emplace_back(attackMs(rng), releaseMs(rng), rate(rng));
      attack[k] = followers[k].getAttackCoef();
      release[k] = followers[k].getReleaseCoef();
      levels[k] = startLevel(rng);
      signals[k] = AwkwardSignal(rng, length);
      sources[k] = signals[k].data();
    }
    std::array<double, 4> expected = levels;
    for (size_t k = 0; k < 4; ++k)
    {
      for (const double x : signals[k])
        followers[k].run(std::fabs(x), expected[k]);
    }
    GetParam()->followLevels(sources.data(), length, attack.data(), release.data(), levels.data());
    for (size_t k = 0; k < 4; ++k)
      ASSERT_EQ(Bits(levels[k]), Bits(expected[k])) << "trial " << trial << " follower " << k;
  }
}

INSTANTIATE_TEST_SUITE_P(Variants, FollowerKernel, testing::ValuesIn(SupportedDspKernels()),
                         VariantName);

} // namespace
} // namespace velmora::test
