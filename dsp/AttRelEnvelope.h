#pragma once

#include <limits>

namespace velmora
{

// An attack/release envelope follower. The caller keeps the level; each step moves it towards
// the new magnitude with the attack coefficient when rising and the release one when falling.
class AttRelEnvelope
{
public:
  AttRelEnvelope(double attackMs, double releaseMs, double sampleRate);

  // Recomputes both coefficients; a rate that is not a positive finite number is ignored.
  void setSampleRate(double sampleRate);
  double getSampleRate() const { return mSampleRate; }
  double getAttackCoef() const { return mAttackCoef; }
  double getReleaseCoef() const { return mReleaseCoef; }

  // One step of level towards the magnitude in. A magnitude that is not finite counts as
  // silence, so that one bad sample cannot leave the level NaN for good.
  void run(double in, double& level) const
  {
    // Written so that NaN and infinity fail the test; magnitudes are never negative.
    const double x = in <= kLargest ? in : 0.0;
    const double coef = x > level ? mAttackCoef : mReleaseCoef;
    level = x + coef * (level - x);
  }

private:
  static constexpr double kLargest = std::numeric_limits<double>::max();

  static double Coefficient(double ms, double sampleRate);

  double mAttackMs;
  double mReleaseMs;
  double mSampleRate = 44100.0;
  double mAttackCoef = 0.0;
  double mReleaseCoef = 0.0;
};

} // namespace velmora
