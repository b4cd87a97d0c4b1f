#include "dsp/KaiserLowpass.h"

#include <cmath>
#include <numbers>

namespace velmora
{
namespace
{

// Modified Bessel function of the first kind, order 0, by its power series.
double BesselI0(double x)
{
  const double quarterSquare = 0.25 * x * x;
  double sum = 1.0;
  double term = 1.0;
  for (int k = 1; k < 500; ++k)
  {
    term *= quarterSquare / (static_cast<double>(k) * static_cast<double>(k));
    sum += term;
    if (term < sum * 1e-18)
      break;
  }
  return sum;
}

} // namespace

double KaiserBeta(double attenuationDb)
{
  if (attenuationDb > 50.0)
    return 0.1102 * (attenuationDb - 8.7);
  if (attenuationDb >= 21.0)
    return 0.5842 * std::pow(attenuationDb - 21.0, 0.4) + 0.07886 * (attenuationDb - 21.0);
  return 0.0;
}

int KaiserLength(double attenuationDb, double transitionWidth)
{
  const double order = (attenuationDb - 7.95) / (14.36 * transitionWidth);
  return static_cast<int>(std::ceil(order)) + 1;
}

std::vector<double> KaiserLowpass(int length, double cutoff, double beta, double centre,
                                  double halfWidth)
{
  std::vector<double> taps(static_cast<std::size_t>(length > 0 ? length : 0), 0.0);
  const double windowNorm = BesselI0(beta);
  double sum = 0.0;
  for (int n = 0; n < length; ++n)
  {
    const double t = static_cast<double>(n) - centre;
    if (std::fabs(t) > halfWidth)
      continue;
    const double ratio = t / halfWidth;
    const double window = BesselI0(beta * std::sqrt(1.0 - ratio * ratio)) / windowNorm;
    const double arg = 2.0 * std::numbers::pi * cutoff * t;
    const double sinc = t == 0.0 ? 2.0 * cutoff : std::sin(arg) / (std::numbers::pi * t);
    taps[static_cast<std::size_t>(n)] = sinc * window;
    sum += taps[static_cast<std::size_t>(n)];
  }
  if (sum != 0.0)
  {
    for (auto& tap : taps)
      tap /= sum;
  }
  return taps;
}

double DcGroupDelay(const std::vector<double>& taps)
{
  double moment = 0.0;
  double sum = 0.0;
  for (std::size_t n = 0; n < taps.size(); ++n)
  {
    moment += static_cast<double>(n) * taps[n];
    sum += taps[n];
  }
  return sum != 0.0 ? moment / sum : 0.0;
}

} // namespace velmora
