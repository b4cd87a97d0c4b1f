#include "dsp/AttRelEnvelope.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{

using velmora::AttRelEnvelope;

struct CoefficientCase
{
  double rate;
  double attack;
  double release;
  double attackTolerance;
  double releaseTolerance;
};

class FollowerCoefficients : public ::testing::TestWithParam<CoefficientCase>
{
};

TEST_P(FollowerCoefficients, MatchTheMeterTable)
{
  AttRelEnvelope follower(1.0, 275.0, 8000.0);
  follower.setSampleRate(GetParam().rate);
  EXPECT_NEAR(follower.getAttackCoef(), GetParam().attack, GetParam().attackTolerance);
  EXPECT_NEAR(follower.getReleaseCoef(), GetParam().release, GetParam().releaseTolerance);
}

INSTANTIATE_TEST_SUITE_P(
    Rates, FollowerCoefficients,
    ::testing::Values(CoefficientCase{44100.0, 0.977579, 0.9999175, 5e-7, 5e-8},
                      CoefficientCase{48000.0, 0.979382, 0.9999242, 5e-7, 5e-8}));

// At 44.1 kHz neither time is a whole number of samples; the nearest count is half a sample off.
struct TimeCase
{
  double rate;
  double tolerance;
};

class FollowerTimes : public ::testing::TestWithParam<TimeCase>
{
};

TEST_P(FollowerTimes, StepReachesOneMinusOneOverEAfterTheAttackTime)
{
  const double rate = GetParam().rate;
  const AttRelEnvelope follower(1.0, 275.0, rate);
  double level = 0.0;
  const int samples = static_cast<int>(std::lround(0.001 * rate));
  for (int i = 0; i < samples; ++i)
    follower.run(1.0, level);
  EXPECT_NEAR(level, 1.0 - std::exp(-1.0), GetParam().tolerance);
  EXPECT_NEAR(level, 0.632, 1e-3);
}

TEST_P(FollowerTimes, DecaysToOneOverEAfterTheReleaseTime)
{
  const double rate = GetParam().rate;
  const AttRelEnvelope follower(1.0, 275.0, rate);
  double level = 1.0;
  const int samples = static_cast<int>(std::lround(0.275 * rate));
  for (int i = 0; i < samples; ++i)
    follower.run(0.0, level);
  EXPECT_NEAR(level, std::exp(-1.0), GetParam().tolerance);
}

INSTANTIATE_TEST_SUITE_P(Rates, FollowerTimes,
                         ::testing::Values(TimeCase{44100.0, 1e-3}, TimeCase{48000.0, 1e-12},
                                           TimeCase{96000.0, 1e-12}));

TEST(AttRelEnvelope, InvalidRatesKeepTheCoefficients)
{
  AttRelEnvelope follower(1.0, 275.0, 48000.0);
  const double attack = follower.getAttackCoef();
  for (const double rate : {0.0, -44100.0, std::numeric_limits<double>::quiet_NaN(),
                            std::numeric_limits<double>::infinity()})
  {
    follower.setSampleRate(rate);
    EXPECT_EQ(follower.getSampleRate(), 48000.0);
    EXPECT_EQ(follower.getAttackCoef(), attack);
  }
}

TEST(AttRelEnvelope, NonFiniteMagnitudeCountsAsSilence)
{
  const AttRelEnvelope follower(1.0, 275.0, 48000.0);
  for (const double bad :
       {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()})
  {
    double level = 0.5;
    double reference = 0.5;
    follower.run(bad, level);
    follower.run(0.0, reference);
    EXPECT_EQ(level, reference);
  }
}

} // namespace
