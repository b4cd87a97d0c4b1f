#pragma once

#include <vector>

namespace velmora
{

// The three lowpass filters of a 4x up-/down-sampler pair, normalised to unity gain at DC.
// Rates are counted in units of the low rate fs; the pass band ends at (1 - band) * fs / 2 and
// nothing may alias onto or image above fs / 2.
struct ResamplerFilters
{
  // At 2 fs, between fs and 2 fs in both directions: stop band from fs / 2.
  std::vector<double> lowStage;
  // At 4 fs, interpolating from 2 fs: stop band from 1.5 fs, where the images of the band up to
  // fs / 2 begin.
  std::vector<double> upHighStage;
  // At 4 fs, decimating to 2 fs: the same band edges, centred so that the pair's round trip delays
  // by a whole number of low-rate samples.
  std::vector<double> downHighStage;
};

// transBandPercent: the transition band as a percentage of fs / 2; attenuationDb: the stop band.
ResamplerFilters DesignResamplerFilters(double transBandPercent, double attenuationDb,
                                        bool minimumPhase);

// Delays in the resampler's input samples (low rate for the upsampler, 4 fs for the downsampler).
double UpsamplerDelay(const ResamplerFilters& filters);
double DownsamplerDelay(const ResamplerFilters& filters);

} // namespace velmora
