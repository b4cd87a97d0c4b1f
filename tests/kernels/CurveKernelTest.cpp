#include "dsp/SaturationCurve.h"
#include "tests/kernels/KernelTestSupport.h"

#include <algorithm>

namespace velmora::test
{
namespace
{

constexpr double kSineScale = 1.57079632675;
constexpr double kSineBound = 1e-15;
constexpr double kEpsilon = std::numeric_limits<double>::epsilon();

struct ReferenceSample
{
  double beforeThreshold;
  double y;
};

double CompressBeyond(double s, double threshold, double kneeEnd, double ratio)
{
  const double f = (s - threshold) / (kneeEnd - threshold);
  return (s - threshold) / (std::max(1.0, f) * (ratio - 1.0) + 1.0) + threshold;
}

// The curve written out plainly, one sample at a time, with std::sin.
ReferenceSample Reference(double x, const ShaperCoefficients& c)
{
  double s = x * c.drive;
  if (c.polyAmount > 0.0)
    s = (1.0 - std::fabs(s * c.polyHalf)) * (s * c.polyScale) * c.polyAmount + s * c.polyDry;
  if (c.sineAmount > 0.0)
    s = std::sin(s * kSineScale) * c.sineAmount + s * c.sineDry;
  const double beforeThreshold = s;
  if (s > c.upperThreshold)
  {
    if (c.upperRatio != 1.0)
      s = CompressBeyond(s, c.upperThreshold, c.upperKneeEnd, c.upperRatio);
  }
  else if (s < c.lowerThreshold && c.lowerRatio != 1.0)
    s = CompressBeyond(s, c.lowerThreshold, c.lowerKneeEnd, c.lowerRatio);
  return {beforeThreshold, (s * c.wetGain + x * c.dryGain) * c.outputGain};
}

double Guarded(double x)
{
  return std::isfinite(x) ? x : 0.0;
}

class CurveKernel : public testing::TestWithParam<const DspKernels*>
{
protected:
  std::vector<double> Run(const std::vector<double>& input, const ShaperCoefficients& c,
                          SampleGuard guard) const
  {
    std::vector<double> output(input.size(), 42.0);
    GetParam()->shape(input.data(), output.data(), static_cast<int>(input.size()), c, guard);
    return output;
  }
};

// The kernel against the plain curve: bit for bit without the sine stage, within what the sine's
// bound can become through the later stages with it. Every guard, and lengths that leave tails.
TEST_P(CurveKernel, MatchesThePlainCurve)
{
  std::mt19937_64 rng(20261210);
  for (int trial = 0; trial < 400; ++trial)
  {
    const ShaperCoefficients c = ComputeShaperCoefficients(RandomSettings(rng));
    const int length = std::uniform_int_distribution<int>(0, 300)(rng);
    const std::vector<double> input = AwkwardSignal(rng, length);
    for (const SampleGuard guard :
         {SampleGuard::None, SampleGuard::ZeroNonFiniteInput, SampleGuard::ZeroNonFiniteOutput})
    {
      const std::vector<double> output = Run(input, c, guard);
      for (size_t i = 0; i < input.size(); ++i)
      {
        const double x = guard == SampleGuard::ZeroNonFiniteInput ? Guarded(input[i]) : input[i];
        const ReferenceSample ref = Reference(x, c);
        const double expected = guard == SampleGuard::ZeroNonFiniteOutput ? Guarded(ref.y) : ref.y;
        const double got = output[i];
        const auto where = testing::Message() << "trial " << trial << " sample " << i << " x "
                                              << input[i] << " guard " << static_cast<int>(guard);
        if (std::isnan(expected))
        {
          ASSERT_TRUE(std::isnan(got)) << where << " got " << got;
          continue;
        }
        if (c.sineAmount == 0.0 || !std::isfinite(ref.y) || !std::isfinite(ref.beforeThreshold))
        {
          ASSERT_EQ(Bits(got), Bits(expected)) << where << " got " << got << " want " << expected;
          continue;
        }
        const double tolerance =
            c.outputGain * c.wetGain *
                (kSineBound + 16.0 * kEpsilon * (std::fabs(ref.beforeThreshold) + 6.0)) +
            8.0 * kEpsilon * std::fabs(expected);
        ASSERT_NEAR(got, expected, tolerance) << where;
      }
    }
  }
}

// The curve as every variant computes it is the same to the last bit, so a render does not depend
// on the processor it runs on.
TEST_P(CurveKernel, MatchesTheBaselineBitForBit)
{
  const DspKernels& baseline = *SupportedDspKernels().front();
  if (GetParam() == &baseline)
    GTEST_SKIP() << "the baseline itself";
  std::mt19937_64 rng(7);
  for (int trial = 0; trial < 400; ++trial)
  {
    const ShaperCoefficients c = ComputeShaperCoefficients(RandomSettings(rng));
    const std::vector<double> input =
        AwkwardSignal(rng, std::uniform_int_distribution<int>(1, 300)(rng));
    for (const SampleGuard guard :
         {SampleGuard::None, SampleGuard::ZeroNonFiniteInput, SampleGuard::ZeroNonFiniteOutput})
    {
      const std::vector<double> got = Run(input, c, guard);
      std::vector<double> want(input.size());
      baseline.shape(input.data(), want.data(), static_cast<int>(input.size()), c, guard);
      for (size_t i = 0; i < input.size(); ++i)
        ASSERT_EQ(Bits(got[i]), Bits(want[i])) << "trial " << trial << " sample " << i;
    }
  }
}

// In place, as the oversampler calls it, gives what a separate output gets.
TEST_P(CurveKernel, InPlaceEqualsSeparateOutput)
{
  std::mt19937_64 rng(99);
  const ShaperCoefficients c = ComputeShaperCoefficients(RandomSettings(rng));
  std::vector<double> samples = AwkwardSignal(rng, 203);
  const std::vector<double> separate = Run(samples, c, SampleGuard::ZeroNonFiniteOutput);
  GetParam()->shape(samples.data(), samples.data(), static_cast<int>(samples.size()), c,
                    SampleGuard::ZeroNonFiniteOutput);
  for (size_t i = 0; i < samples.size(); ++i)
    ASSERT_EQ(Bits(samples[i]), Bits(separate[i])) << "sample " << i;
}

// Defaults leave every input as it is, however large (denormals aside: halving them rounds); a
// count of 0 or less writes nothing.
TEST_P(CurveKernel, DefaultsAreTheIdentityAndEmptyCountsWriteNothing)
{
  const ShaperCoefficients c = ComputeShaperCoefficients(ShaperSettings{});
  std::mt19937_64 rng(3);
  std::vector<double> input = AwkwardSignal(rng, 500);
  for (double& x : input)
    x = std::fpclassify(x) == FP_SUBNORMAL ? 0.5 : Guarded(x);
  const std::vector<double> output = Run(input, c, SampleGuard::None);
  for (size_t i = 0; i < input.size(); ++i)
    ASSERT_EQ(output[i], input[i]) << "sample " << i;

  std::vector<double> untouched(4, 42.0);
  for (const int count : {0, -5})
    GetParam()->shape(input.data(), untouched.data(), count, c, SampleGuard::None);
  EXPECT_EQ(untouched, std::vector<double>(4, 42.0));
}

INSTANTIATE_TEST_SUITE_P(Variants, CurveKernel, testing::ValuesIn(SupportedDspKernels()),
                         VariantName);

} // namespace
} // namespace velmora::test
