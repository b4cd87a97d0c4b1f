#include "dsp/MinimumPhase.h"

#include "dsp/Fft.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace velmora
{

std::vector<double> MinimumPhase(const std::vector<double>& taps, double floorDb)
{
  if (taps.empty())
    return taps;

  // A long transform keeps the cepstrum's time aliasing far below the stop band.
  std::size_t size = 1 << 12;
  while (size < taps.size() * 64)
    size <<= 1;

  std::vector<std::complex<double>> spectrum(size);
  std::copy(taps.begin(), taps.end(), spectrum.begin());
  Fft(spectrum, false);

  const double floor = std::pow(10.0, floorDb / 20.0);
  for (auto& bin : spectrum)
    bin = std::log(std::max(std::abs(bin), floor));
  Fft(spectrum, true);

  // Fold the real cepstrum onto positive quefrencies: the causal, minimum-phase part.
  const std::size_t half = size / 2;
  for (std::size_t n = 1; n < half; ++n)
    spectrum[n] = 2.0 * spectrum[n].real();
  spectrum[0] = spectrum[0].real();
  spectrum[half] = spectrum[half].real();
  std::fill(spectrum.begin() + static_cast<std::ptrdiff_t>(half) + 1, spectrum.end(), 0.0);

  Fft(spectrum, false);
  for (auto& bin : spectrum)
    bin = std::exp(bin);
  Fft(spectrum, true);

  std::vector<double> result(taps.size());
  double sum = 0.0;
  for (std::size_t n = 0; n < result.size(); ++n)
  {
    result[n] = spectrum[n].real();
    sum += result[n];
  }
  if (sum != 0.0)
  {
    for (auto& tap : result)
      tap /= sum;
  }
  return result;
}

} // namespace velmora
