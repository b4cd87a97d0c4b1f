#include "framework/core/IParam.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

using iplug::IParam;

namespace
{
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
} // namespace

TEST(IParam, DisplayPrecisionFollowsTheStep)
{
  struct Case
  {
    double step;
    int precision;
  };
  for (const Case& c : {Case{1.0, 0}, Case{0.1, 1}, Case{0.01, 2}, Case{0.0001, 4}, Case{0.25, 2},
                        Case{1e-9, 6}, Case{0.3, 1}})
  {
    IParam p;
    p.InitDouble("x", 0.0, 0.0, 10.0, c.step);
    EXPECT_EQ(p.GetDisplayPrecision(), c.precision) << "step " << c.step;
  }
}

TEST(IParam, ContinuousValuesAreClampedNotRoundedToTheStep)
{
  IParam p;
  p.InitDouble("Mix", 50.0, 0.0, 100.0, 0.1, "%");
  p.Set(33.333);
  EXPECT_DOUBLE_EQ(p.Value(), 33.333);
  p.Set(150.0);
  EXPECT_EQ(p.Value(), 100.0);
  p.Set(-kInf);
  EXPECT_EQ(p.Value(), 0.0);
  p.Set(kInf);
  EXPECT_EQ(p.Value(), 100.0);
  EXPECT_EQ(p.GetDisplay(33.333), "33.3");
  EXPECT_EQ(p.GetDisplay(33.333, true), "33.3 %");
}

TEST(IParam, NaNIsRefusedAndTheValueKept)
{
  IParam p;
  p.InitDouble("Gain", 0.0, 0.0, 60.0, 0.1, "dB");
  p.Set(12.0);
  p.Set(kNaN);
  EXPECT_EQ(p.Value(), 12.0);
  p.SetNormalized(kNaN);
  EXPECT_EQ(p.Value(), 12.0);
  double parsed = 0.0;
  EXPECT_FALSE(p.StringToValue("nan", parsed));
}

TEST(IParam, NormalisedMappingIsLinearAndClamped)
{
  IParam p;
  p.InitDouble("Threshold", 0.0, -60.0, 0.0, 0.1, "dB");
  EXPECT_EQ(p.ToNormalized(-30.0), 0.5);
  EXPECT_EQ(p.FromNormalized(0.25), -45.0);
  p.SetNormalized(1.7);
  EXPECT_EQ(p.Value(), 0.0);
  p.SetNormalized(-kInf);
  EXPECT_EQ(p.Value(), -60.0);
  EXPECT_EQ(p.GetDefault(true), 1.0);
}

TEST(IParam, TwoStateParameterRoundsHalvesAwayFromZero)
{
  IParam p;
  p.InitBool("Oversampling", false, "", IParam::kFlagCannotAutomate, "", "off", "on");
  EXPECT_TRUE(p.GetStepped());
  EXPECT_FALSE(p.GetCanAutomate());
  EXPECT_EQ(p.GetStepCount(), 1);
  struct Case
  {
    double in;
    double stored;
  };
  for (const Case& c : {Case{0.5, 1.0}, Case{0.49, 0.0}, Case{0.7, 1.0}, Case{0.4, 0.0},
                        Case{-0.5, 0.0}, Case{7.0, 1.0}, Case{kInf, 1.0}, Case{-kInf, 0.0}})
  {
    p.Set(c.in);
    EXPECT_EQ(p.Value(), c.stored) << "input " << c.in;
  }
  p.SetNormalized(0.5);
  EXPECT_TRUE(p.Bool());
  EXPECT_EQ(p.GetDisplay(0.0), "off");
  EXPECT_EQ(p.GetDisplay(1.0), "on");
}

TEST(IParam, TextToValueParsesNumbersAndStateTexts)
{
  IParam sw;
  sw.InitBool("Oversampling", false);
  double v = -1.0;
  ASSERT_TRUE(sw.StringToValue("on", v));
  EXPECT_EQ(v, 1.0);
  ASSERT_TRUE(sw.StringToValue("off", v));
  EXPECT_EQ(v, 0.0);
  ASSERT_TRUE(sw.StringToValue("0.6", v));
  EXPECT_EQ(v, 1.0);

  IParam knob;
  knob.InitDouble("Knee", 0.1, 0.1, 9.0, 0.1, "dB");
  ASSERT_TRUE(knob.StringToValue("3.5 dB", v));
  EXPECT_EQ(v, 3.5);
  ASSERT_TRUE(knob.StringToValue("99", v));
  EXPECT_EQ(v, 9.0);
  EXPECT_FALSE(knob.StringToValue("loud", v));
  EXPECT_FALSE(knob.StringToValue(nullptr, v));
}

// The text hosts show, written into a caller's buffer: whole when it fits, cut and terminated
// when it does not, nothing into no room at all.
TEST(IParam, DisplayTextIntoABufferIsTheSameTextCutToFit)
{
  iplug::IParam gain;
  gain.InitDouble("Threshold", 0., -60., 0., 0.1, "dB");
  std::array<char, 32> roomy{};
  EXPECT_EQ(gain.FormatDisplay(-12.34, true, roomy), 8u);
  EXPECT_STREQ(roomy.data(), "-12.3 dB");
  EXPECT_EQ(gain.GetDisplay(-12.34, true), "-12.3 dB");
  EXPECT_EQ(gain.GetDisplay(-0.04, true), "0.0 dB");
  std::array<char, 6> tight{};
  tight.fill('x');
  EXPECT_EQ(gain.FormatDisplay(-12.34, true, tight), 5u);
  EXPECT_STREQ(tight.data(), "-12.3");
  EXPECT_EQ(gain.FormatDisplay(-12.34, true, std::span<char>{}), 0u);
}
