#pragma once

#include <vector>

namespace velmora
{

// Kaiser window shape parameter for a stop band attenuationDb below the pass band.
double KaiserBeta(double attenuationDb);

// Taps needed for attenuationDb with a transition band of the given width (cycles per sample).
int KaiserLength(double attenuationDb, double transitionWidth);

// Windowed-sinc lowpass: cutoff in cycles per sample (the -6 dB point), the window and sinc centred
// on centre (which may be fractional) and reaching halfWidth taps either side of it. Taps further
// from centre are zero. Normalised to unity gain at DC.
std::vector<double> KaiserLowpass(int length, double cutoff, double beta, double centre,
                                  double halfWidth);

// Group delay at DC in taps: the centre of mass of the impulse response.
double DcGroupDelay(const std::vector<double>& taps);

} // namespace velmora
