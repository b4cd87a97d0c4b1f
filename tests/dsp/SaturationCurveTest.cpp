#include "dsp/SaturationCurve.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using velmora::ComputeShaperCoefficients;
using velmora::ShaperCoefficients;
using velmora::ShaperSettings;
using velmora::ShapeSamples;
using velmora::ShapeStatic;

namespace
{

constexpr double kTol = 1e-6;

double Shape(double x, const ShaperCoefficients& c)
{
  double y = 0.0;
  ShapeSamples(&x, &y, 1, c);
  return y;
}

ShaperSettings SecondSetting()
{
  ShaperSettings s;
  s.threshold = -6.0;
  s.nonlinearity = 1.1;
  s.knee = 3.0;
  s.modA = 50.0;
  s.gain = 6.0;
  s.mix = 100.0;
  return s;
}

ShaperSettings ThirdSetting()
{
  ShaperSettings s;
  s.threshold = -12.0;
  s.thresholdAsym = 6.0;
  s.nonlinearity = 1.05;
  s.nonlinearityAsym = 0.04;
  s.knee = 6.0;
  s.kneeAsym = -3.0;
  s.modB = 100.0;
  s.mix = 75.0;
  s.output = -3.0;
  return s;
}

struct Example
{
  double x;
  double shaped;
  double y;
};

void ExpectInvariants(const ShaperCoefficients& c)
{
  EXPECT_GT(c.upperThreshold, 0.0);
  EXPECT_LT(c.lowerThreshold, 0.0);
  EXPECT_GT(c.upperKneeEnd, c.upperThreshold);
  EXPECT_LT(c.lowerKneeEnd, c.lowerThreshold);
  EXPECT_GE(c.upperRatio, 1.0);
  EXPECT_GE(c.lowerRatio, 1.0);
  EXPECT_NEAR(c.dryGain + c.wetGain, 1.0, 1e-15);
}

} // namespace

TEST(SaturationCurve, SecondSettingRecordAndOutputs)
{
  const ShaperCoefficients c = ComputeShaperCoefficients(SecondSetting());
  EXPECT_NEAR(c.drive, 1.995262, kTol);
  EXPECT_NEAR(c.upperThreshold, 0.501187, kTol);
  EXPECT_NEAR(c.lowerThreshold, -0.501187, kTol);
  EXPECT_NEAR(c.upperKneeEnd, 0.707946, kTol);
  EXPECT_NEAR(c.lowerKneeEnd, -0.707946, kTol);
  EXPECT_NEAR(c.upperRatio, 1.1, 1e-12);
  EXPECT_NEAR(c.lowerRatio, 1.1, 1e-12);
  EXPECT_EQ(c.polyScale, 2.0);
  EXPECT_EQ(c.polyHalf, 0.5);

  // The intermediate stages for x = 0.5.
  const double driven = 0.5 * c.drive;
  EXPECT_NEAR(driven, 0.997631, kTol);
  const double poly = (1.0 - std::fabs(driven * 0.5)) * (driven * 2.0) * 0.5 + driven * 0.5;
  EXPECT_NEAR(poly, 0.998813, kTol);
  EXPECT_NEAR((poly - c.upperThreshold) / (c.upperKneeEnd - c.upperThreshold), 2.406795, kTol);

  for (const Example& e : {Example{0.25, 0.612667, 0.612667}, Example{0.5, 0.902278, 0.902278},
                           Example{-0.5, -0.902278, -0.902278}, Example{1.0, 0.904578, 0.904578}})
  {
    EXPECT_NEAR(ShapeStatic(e.x, c), e.shaped, kTol) << "x " << e.x;
    EXPECT_NEAR(Shape(e.x, c), e.y, kTol) << "x " << e.x;
  }
}

TEST(SaturationCurve, ThirdSettingRecordAndOutputs)
{
  const ShaperCoefficients c = ComputeShaperCoefficients(ThirdSetting());
  EXPECT_NEAR(c.upperThreshold, 0.354813, kTol);
  EXPECT_NEAR(c.lowerThreshold, -0.177828, kTol);
  EXPECT_NEAR(c.upperKneeEnd, 0.595662, kTol);
  EXPECT_NEAR(c.lowerKneeEnd, -0.421697, kTol);
  EXPECT_NEAR(c.upperRatio, 1.07, 1e-12);
  EXPECT_NEAR(c.lowerRatio, 1.03, 1e-12);
  EXPECT_NEAR(c.outputGain, 0.707946, kTol);
  EXPECT_NEAR(c.wetGain, 0.75, 1e-15);
  EXPECT_NEAR(c.dryGain, 0.25, 1e-15);

  const double sine = std::sin(0.3 * 1.57079632675);
  EXPECT_NEAR(sine, 0.453990, kTol);
  EXPECT_NEAR((sine - c.upperThreshold) / (c.upperKneeEnd - c.upperThreshold), 0.411782, kTol);
  EXPECT_NEAR((-sine - c.lowerThreshold) / (c.lowerKneeEnd - c.lowerThreshold), 1.132424, kTol);

  for (const Example& e : {Example{0.3, 0.447502, 0.290701}, Example{-0.3, -0.444917, -0.289329},
                           Example{0.8, 0.862993, 0.599804}, Example{-0.8, -0.883895, -0.610902}})
  {
    EXPECT_NEAR(ShapeStatic(e.x, c), e.shaped, kTol) << "x " << e.x;
    EXPECT_NEAR(Shape(e.x, c), e.y, kTol) << "x " << e.x;
  }
}

TEST(SaturationCurve, DefaultsPassSamplesThroughBitForBit)
{
  const ShaperCoefficients c = ComputeShaperCoefficients(ShaperSettings{});
  const double inputs[] = {0.0,  -0.0, 1e-300, 0.25, -0.7,  1.0,   -1.0,
                           1.01, 2.5,  -3.75,  1e6,  -4e15, 1e300, 0.1234567890123};
  double outputs[std::size(inputs)];
  ShapeSamples(inputs, outputs, static_cast<int>(std::size(inputs)), c);
  for (size_t i = 0; i < std::size(inputs); ++i)
    EXPECT_EQ(outputs[i], inputs[i]) << "input " << inputs[i];
}

TEST(SaturationCurve, ShapesInPlaceAndIgnoresNonPositiveCounts)
{
  const ShaperCoefficients c = ComputeShaperCoefficients(ThirdSetting());
  double buffer[3] = {0.3, -0.3, 0.8};
  ShapeSamples(buffer, buffer, 3, c);
  EXPECT_NEAR(buffer[0], 0.290701, kTol);
  EXPECT_NEAR(buffer[2], 0.599804, kTol);
  double untouched[2] = {0.5, 0.5};
  ShapeSamples(untouched, untouched, 0, c);
  ShapeSamples(untouched, untouched, -4, c);
  EXPECT_EQ(untouched[0], 0.5);
  EXPECT_EQ(untouched[1], 0.5);
}

TEST(SaturationCurve, InvariantsHoldOverRandomSettings)
{
  std::mt19937_64 rng(1234);
  auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution(lo, hi)(rng); };
  for (int i = 0; i < 20000; ++i)
  {
    ShaperSettings s;
    s.threshold = uniform(-60, 0);
    s.thresholdAsym = uniform(-30, 30);
    s.nonlinearity = uniform(1, 1.13);
    s.nonlinearityAsym = uniform(-0.06, 0.06);
    s.knee = uniform(0.1, 9);
    s.kneeAsym = uniform(-9, 9);
    s.modA = uniform(0, 100);
    s.modB = uniform(0, 100);
    s.gain = uniform(0, 60);
    s.mix = uniform(0, 100);
    s.output = uniform(-60, 0);
    const ShaperCoefficients c = ComputeShaperCoefficients(s);
    ExpectInvariants(c);
    EXPECT_EQ(Shape(0.0, c), 0.0);
    if (HasFailure())
      FAIL() << "setting " << i;
  }
}

TEST(SaturationCurve, AsymmetricNonlinearityCompressesOneSideOnly)
{
  ShaperSettings s;
  s.threshold = -12.0;
  s.nonlinearity = 1.0;
  s.mix = 100.0;
  s.nonlinearityAsym = 0.06;
  ShaperCoefficients c = ComputeShaperCoefficients(s);
  EXPECT_NEAR(c.upperRatio, 1.03, 1e-12);
  EXPECT_EQ(c.lowerRatio, 1.0);
  EXPECT_LT(ShapeStatic(0.9, c), 0.9);
  EXPECT_DOUBLE_EQ(ShapeStatic(-0.9, c), -0.9);

  s.nonlinearityAsym = -0.06;
  c = ComputeShaperCoefficients(s);
  EXPECT_EQ(c.upperRatio, 1.0);
  EXPECT_DOUBLE_EQ(ShapeStatic(0.9, c), 0.9);
  EXPECT_GT(ShapeStatic(-0.9, c), -0.9);
}

TEST(SaturationCurve, KneeWidthNeverFallsBelowATenthOfADecibel)
{
  ShaperSettings s;
  s.threshold = -6.0;
  s.knee = 0.1;
  s.kneeAsym = 9.0; // lower knee would be 0.1 - 4.5
  const ShaperCoefficients c = ComputeShaperCoefficients(s);
  const double c20 = 0.11512925464970228;
  EXPECT_DOUBLE_EQ(c.lowerKneeEnd, -std::exp((-6.0 + 0.1) * c20));
  EXPECT_DOUBLE_EQ(c.upperKneeEnd, std::exp((-6.0 + 4.6) * c20));
}

TEST(SaturationCurve, WaveShapingStagesAreNotClamped)
{
  ShaperSettings poly;
  poly.modA = 100.0;
  ShaperCoefficients c = ComputeShaperCoefficients(poly);
  // With the default threshold of 1 and ratio 1 the threshold stage leaves values unchanged.
  EXPECT_DOUBLE_EQ(ShapeStatic(1.0, c), 1.0);
  EXPECT_DOUBLE_EQ(ShapeStatic(2.0, c), 0.0);
  EXPECT_DOUBLE_EQ(ShapeStatic(3.0, c), -3.0);

  ShaperSettings sine;
  sine.modB = 100.0;
  c = ComputeShaperCoefficients(sine);
  EXPECT_NEAR(ShapeStatic(1.0, c), 1.0, 1e-9);
  EXPECT_LT(ShapeStatic(1.5, c), ShapeStatic(1.0, c));
  EXPECT_NEAR(ShapeStatic(2.0, c), 0.0, 1e-9);
}

TEST(SaturationCurve, ZeroMixPassesTheDryInputAtOutputLevel)
{
  ShaperSettings s = ThirdSetting();
  s.mix = 0.0;
  s.gain = 40.0;
  const ShaperCoefficients c = ComputeShaperCoefficients(s);
  for (double x : {-0.9, -0.1, 0.0, 0.4, 1.7})
    EXPECT_DOUBLE_EQ(Shape(x, c), x * c.outputGain);
}

TEST(SaturationCurve, ThresholdStageApproachesButNeverReachesItsCeiling)
{
  ShaperSettings s;
  s.nonlinearity = 1.13;
  s.mix = 100.0;
  const ShaperCoefficients c = ComputeShaperCoefficients(s);
  const double ceiling = c.upperThreshold + (c.upperKneeEnd - c.upperThreshold) / 0.13;
  EXPECT_NEAR(ceiling, 1.0890727, 1e-7);
  double previous = 0.0;
  for (double x = 0.5; x < 1e6; x *= 1.5)
  {
    const double y = ShapeStatic(x, c);
    EXPECT_GE(y, previous);
    EXPECT_LT(y, ceiling);
    previous = y;
  }
}
