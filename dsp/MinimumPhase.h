#pragma once

#include <vector>

namespace velmora
{

// The minimum-phase filter with (nearly) the magnitude response of taps, by the real cepstrum.
// Magnitudes below floorDb (relative to 1) are raised to it so that the logarithm stays finite;
// the result has as many taps as the input and unity gain at DC.
std::vector<double> MinimumPhase(const std::vector<double>& taps, double floorDb);

} // namespace velmora
