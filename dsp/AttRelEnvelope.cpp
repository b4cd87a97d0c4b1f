#include "dsp/AttRelEnvelope.h"

#include <cmath>

namespace velmora
{

AttRelEnvelope::AttRelEnvelope(double attackMs, double releaseMs, double sampleRate)
    : mAttackMs(attackMs), mReleaseMs(releaseMs), mAttackCoef(Coefficient(attackMs, mSampleRate)),
      mReleaseCoef(Coefficient(releaseMs, mSampleRate))
{
  setSampleRate(sampleRate);
}

void AttRelEnvelope::setSampleRate(double sampleRate)
{
  if (!std::isfinite(sampleRate) || sampleRate <= 0.0)
    return;
  mSampleRate = sampleRate;
  mAttackCoef = Coefficient(mAttackMs, mSampleRate);
  mReleaseCoef = Coefficient(mReleaseMs, mSampleRate);
}

double AttRelEnvelope::Coefficient(double ms, double sampleRate)
{
  return std::exp(-1000.0 / (ms * sampleRate));
}

} // namespace velmora
