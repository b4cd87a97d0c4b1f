#include "dsp/SaturationCurve.h"

#include "dsp/DspKernelDispatch.h"

#include <algorithm>
#include <cmath>

namespace velmora
{
namespace
{

// Both are ln(10)/20; the gain stages and the threshold stages use these exact spellings.
constexpr double kGainDbToLinear = 0.1151292546497;
constexpr double kThresholdDbToLinear = 0.11512925464970228;
// Slightly below pi/2, as the curve has always used.
constexpr double kSineScale = 1.57079632675;

double CompressBeyond(double s, double threshold, double kneeEnd, double ratio)
{
  const double f = (s - threshold) / (kneeEnd - threshold);
  return (s - threshold) / (std::max(1.0, f) * (ratio - 1.0) + 1.0) + threshold;
}

} // namespace

ShaperCoefficients ComputeShaperCoefficients(const ShaperSettings& p)
{
  const double upperDb = p.threshold + 0.5 * p.thresholdAsym;
  const double lowerDb = p.threshold - 0.5 * p.thresholdAsym;
  const double upperKneeDb = std::max(0.1, p.knee + 0.5 * p.kneeAsym);
  const double lowerKneeDb = std::max(0.1, p.knee - 0.5 * p.kneeAsym);

  ShaperCoefficients c;
  c.drive = std::exp(p.gain * kGainDbToLinear);
  c.outputGain = std::exp(p.output * kGainDbToLinear);
  c.polyAmount = p.modA / 100.0;
  c.polyDry = 1.0 - p.modA / 100.0;
  c.polyScale = 2.0;
  c.polyHalf = 0.5;
  c.sineAmount = p.modB / 100.0;
  c.sineDry = 1.0 - p.modB / 100.0;
  c.upperThreshold = std::exp(upperDb * kThresholdDbToLinear);
  c.lowerThreshold = -std::exp(lowerDb * kThresholdDbToLinear);
  c.upperKneeEnd = std::exp((upperDb + upperKneeDb) * kThresholdDbToLinear);
  c.lowerKneeEnd = -std::exp((lowerDb + lowerKneeDb) * kThresholdDbToLinear);
  c.upperRatio = std::max(1.0, p.nonlinearity + 0.5 * p.nonlinearityAsym);
  c.lowerRatio = std::max(1.0, p.nonlinearity - 0.5 * p.nonlinearityAsym);
  c.wetGain = p.mix * 0.01;
  c.dryGain = 1.0 - p.mix * 0.01;
  return c;
}

double ShapeStatic(double x, const ShaperCoefficients& c)
{
  double s = x * c.drive;
  if (c.polyAmount > 0.0)
    s = (1.0 - std::fabs(s * c.polyHalf)) * (s * c.polyScale) * c.polyAmount + s * c.polyDry;
  if (c.sineAmount > 0.0)
    s = std::sin(s * kSineScale) * c.sineAmount + s * c.sineDry;
  // A side with a ratio of 1 is the identity; computing it anyway would round, and overflow to
  // NaN for inputs far beyond the knee.
  if (s > c.upperThreshold)
  {
    if (c.upperRatio != 1.0)
      s = CompressBeyond(s, c.upperThreshold, c.upperKneeEnd, c.upperRatio);
  }
  else if (s < c.lowerThreshold && c.lowerRatio != 1.0)
    s = CompressBeyond(s, c.lowerThreshold, c.lowerKneeEnd, c.lowerRatio);
  return s;
}

void ShapeSamples(const double* input, double* output, int count, const ShaperCoefficients& c)
{
  FastestDspKernels().shape(input, output, count, c, SampleGuard::None);
}

} // namespace velmora
