#include "dsp/SaturationCurve.h"
#include "tests/kernels/KernelTestSupport.h"

namespace velmora::test
{
namespace
{

constexpr double kSineScale = 1.57079632675;
constexpr double kSineBound = 1e-15;
// Arguments up to this size are reduced by the kernel's own sine; beyond it std::sin is used.
constexpr double kReducedLimit = 67108864.0;
constexpr double kHalfPi = 1.5707963267948966;

// A sine to well below a double's rounding over the reduced range, whatever the C library's own
// accuracy (the Windows runtime's std::sin is off by 8e-14 at 2^26): the argument is reduced in
// extended precision by pi/2 in three parts, each product with the quadrant count exact.
double ReferenceSin(double x)
{
  constexpr long double kHalfPiHigh = 0x6487ed511p-34L;
  constexpr long double kHalfPiMid = 0x5a308d313p-73L;
  constexpr long double kHalfPiLow = 0x6628b80dc1cd129p-135L;
  const long double quadrant = std::nearbyint(static_cast<long double>(x) / kHalfPiHigh);
  const long double r =
      ((static_cast<long double>(x) - quadrant * kHalfPiHigh) - quadrant * kHalfPiMid) -
      quadrant * kHalfPiLow;
  const auto q = static_cast<long long>(quadrant) & 3;
  const long double value = (q & 1) ? std::cos(r) : std::sin(r);
  return static_cast<double>(q >= 2 ? -value : value);
}

// Only the sine stage, fully on, with nothing after it: the output is sin(x * 1.57079632675).
ShaperCoefficients SineOnly()
{
  ShaperSettings p;
  p.modB = 100.0;
  p.mix = 100.0;
  return ComputeShaperCoefficients(p);
}

// Inputs whose sine arguments cover the whole reduced range evenly, the audio range closely,
// the neighbourhoods of multiples of pi/2 (where the reduction cancels most) across the range,
// and both ends of the range on either side.
std::vector<double> ArgumentsToCheck()
{
  std::vector<double> arguments;
  constexpr int kEven = 2'000'000;
  for (int i = 0; i <= kEven; ++i)
    arguments.push_back(-kReducedLimit + 2.0 * kReducedLimit * i / kEven);
  constexpr int kAudio = 1'000'000;
  for (int i = 0; i <= kAudio; ++i)
    arguments.push_back(-40.0 + 80.0 * i / kAudio);
  std::mt19937_64 rng(11);
  std::uniform_int_distribution<long long> multiple(-42'000'000, 42'000'000);
  std::uniform_real_distribution<double> offset(-1e-6, 1e-6);
  for (int i = 0; i < 500'000; ++i)
    arguments.push_back(static_cast<double>(multiple(rng)) * kHalfPi + offset(rng));
  for (const double end : {kReducedLimit, -kReducedLimit})
  {
    double x = end;
    for (int i = 0; i < 64; ++i, x = std::nextafter(x, 0.0))
      arguments.push_back(x);
    x = end;
    for (int i = 0; i < 64; ++i, x = std::nextafter(x, 2.0 * end))
      arguments.push_back(x);
    arguments.push_back(8.0 * end);
  }
  std::vector<double> inputs;
  inputs.reserve(arguments.size());
  for (const double a : arguments)
    inputs.push_back(a / kSineScale);
  return inputs;
}

class SineBound : public testing::TestWithParam<const DspKernels*>
{
};

TEST_P(SineBound, WithinBoundOfStdSinOverTheWholeRangeAndExactBeyondIt)
{
  const ShaperCoefficients c = SineOnly();
  ASSERT_EQ(c.drive, 1.0);
  ASSERT_EQ(c.sineAmount, 1.0);
  ASSERT_EQ(c.wetGain, 1.0);
  const std::vector<double> inputs = ArgumentsToCheck();
  std::vector<double> outputs(inputs.size());
  GetParam()->shape(inputs.data(), outputs.data(), static_cast<int>(inputs.size()), c,
                    SampleGuard::None);
  double worst = 0.0;
  size_t checked = 0;
  for (size_t i = 0; i < inputs.size(); ++i)
  {
    const double argument = inputs[i] * kSineScale;
    if (std::fabs(argument) > kReducedLimit)
    {
      ASSERT_EQ(outputs[i], std::sin(argument)) << "beyond the range, argument " << argument;
      continue;
    }
    const double want = ReferenceSin(argument);
    const double error = std::fabs(outputs[i] - want);
    worst = std::max(worst, error);
    ++checked;
    ASSERT_LE(error, kSineBound) << "argument " << argument;
  }
  EXPECT_GT(checked, 3'000'000u);
  RecordProperty("largest_error", testing::PrintToString(worst));
}

TEST_P(SineBound, KeepsSignedZerosAndPassesNaNAndInfinity)
{
  const ShaperCoefficients c = SineOnly();
  const std::vector<double> inputs = {0.0, -0.0, std::numeric_limits<double>::quiet_NaN(),
                                      std::numeric_limits<double>::infinity(),
                                      -std::numeric_limits<double>::infinity()};
  std::vector<double> outputs(inputs.size());
  GetParam()->shape(inputs.data(), outputs.data(), static_cast<int>(inputs.size()), c,
                    SampleGuard::None);
  EXPECT_EQ(Bits(outputs[0]), Bits(0.0));
  EXPECT_EQ(Bits(outputs[1]), Bits(-0.0));
  for (size_t i = 2; i < inputs.size(); ++i)
    EXPECT_TRUE(std::isnan(outputs[i])) << inputs[i];
}

INSTANTIATE_TEST_SUITE_P(Variants, SineBound, testing::ValuesIn(SupportedDspKernels()),
                         VariantName);

} // namespace
} // namespace velmora::test
