#include "dsp/ResamplerFilters.h"

#include "dsp/Decimator2x.h"
#include "dsp/KaiserLowpass.h"
#include "dsp/MinimumPhase.h"

#include <cmath>

namespace velmora
{
namespace
{

// The Kaiser estimates fall a little short of the asked attenuation and the minimum-phase
// conversion costs some more; the design aims this much lower.
constexpr double kAttenuationMarginDb = 6.0;
// Magnitudes this far below the stop band are treated as this level by the cepstral conversion.
constexpr double kCepstralFloorBelowDb = 40.0;

struct BandEdges
{
  double pass; // cycles per sample at the filter's own rate
  double stop;
};

std::vector<double> DesignStage(const BandEdges& edges, double attenuationDb, bool minimumPhase)
{
  const int length = KaiserLength(attenuationDb, edges.stop - edges.pass);
  const double centre = 0.5 * (length - 1);
  auto taps = KaiserLowpass(length, 0.5 * (edges.pass + edges.stop), KaiserBeta(attenuationDb),
                            centre, centre);
  if (minimumPhase)
    taps = MinimumPhase(taps, -(attenuationDb + kCepstralFloorBelowDb));
  return taps;
}

} // namespace

double UpsamplerDelay(const ResamplerFilters& filters)
{
  // Interpolators delay by their filter's own delay, counted at their output rate.
  return DcGroupDelay(filters.lowStage) / 2.0 + DcGroupDelay(filters.upHighStage) / 4.0;
}

double DownsamplerDelay(const ResamplerFilters& filters)
{
  return Decimator2x::DelayOf(filters.downHighStage) + 2.0 * Decimator2x::DelayOf(filters.lowStage);
}

ResamplerFilters DesignResamplerFilters(double transBandPercent, double attenuationDb,
                                        bool minimumPhase)
{
  const double band = transBandPercent / 100.0;
  const double target = attenuationDb + kAttenuationMarginDb;
  const BandEdges low{(1.0 - band) / 4.0, 0.25};
  const BandEdges high{(1.0 - band) / 8.0, 0.375};

  ResamplerFilters filters;
  filters.lowStage = DesignStage(low, target, minimumPhase);
  filters.upHighStage = DesignStage(high, target, minimumPhase);

  // The decimating high stage is a windowed sinc whose centre may be fractional: moving it by
  // delta samples at 4 fs moves the round trip by delta / 4 low-rate samples. It is moved forward
  // so that U + D / 4 lands on the next whole number.
  const int length = KaiserLength(target, high.stop - high.pass);
  const double halfWidth = 0.5 * (length - 1);
  const double cutoff = 0.5 * (high.pass + high.stop);
  const double beta = KaiserBeta(target);
  double centre = halfWidth;
  filters.downHighStage = KaiserLowpass(length, cutoff, beta, centre, halfWidth);
  const double roundTrip = UpsamplerDelay(filters) + DownsamplerDelay(filters) / 4.0;
  const double goal = std::ceil(roundTrip - 1e-9);
  // A windowed sinc's delay follows its centre only nearly (closer the deeper its stop band), so
  // the centre is corrected until the sum is whole.
  constexpr int kSpareTaps = 4;
  constexpr int kMaxPasses = 50;
  for (int pass = 0; pass < kMaxPasses; ++pass)
  {
    const double error = goal - (UpsamplerDelay(filters) + DownsamplerDelay(filters) / 4.0);
    if (std::fabs(error) < 1e-12)
      break;
    centre += 4.0 * error;
    filters.downHighStage = KaiserLowpass(length + kSpareTaps, cutoff, beta, centre, halfWidth);
  }
  return filters;
}

} // namespace velmora
