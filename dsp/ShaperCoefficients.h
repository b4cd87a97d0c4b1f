#pragma once

namespace velmora
{

// The precomputed values of the saturation curve; sixteen doubles in this order.
struct ShaperCoefficients
{
  double drive = 1.0;
  double outputGain = 1.0;
  double polyAmount = 0.0;
  double polyDry = 1.0;
  double polyScale = 2.0;
  double polyHalf = 0.5;
  double sineAmount = 0.0;
  double sineDry = 1.0;
  double upperThreshold = 1.0;
  double lowerThreshold = -1.0;
  double upperKneeEnd = 1.0;
  double lowerKneeEnd = -1.0;
  double upperRatio = 1.0;
  double lowerRatio = 1.0;
  double dryGain = 0.5;
  double wetGain = 0.5;
};

// Copy a record field by field with atomic accesses, so that a record another thread may be
// writing can be copied without a data race. Stores release and loads acquire each field: a reader
// that sees any field of a write in progress also sees the sequence count the writer bumped
// before it, which is how the caller detects a torn copy.
void LoadCoefficientsAcquire(const ShaperCoefficients& source, ShaperCoefficients& destination);
void StoreCoefficientsRelease(const ShaperCoefficients& source, ShaperCoefficients& destination);

} // namespace velmora
