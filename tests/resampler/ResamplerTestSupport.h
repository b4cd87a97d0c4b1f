#pragma once

#include "dsp/CDSPResampler.h"

#include <cmath>
#include <memory>
#include <numbers>
#include <ostream>
#include <vector>

namespace velmora::test
{

struct Quality
{
  const char* name;
  double transBandPercent;
  double attenuationDb;
};

inline void PrintTo(const Quality& q, std::ostream* os)
{
  *os << q.name;
}

inline constexpr Quality kRealtime{"realtime", 10.0, 120.0};
inline constexpr Quality kOffline{"offline", 5.0, 150.0};

inline std::unique_ptr<CDSPResampler> MakeUp(double rate, int maxInLen, const Quality& q,
                                             EPhaseResponse phase = EPhaseResponse::Minimum)
{
  return std::make_unique<CDSPResampler>(rate, 4.0 * rate, maxInLen, q.transBandPercent,
                                         q.attenuationDb, phase);
}

inline std::unique_ptr<CDSPResampler> MakeDown(double rate, int maxInLen, const Quality& q,
                                               EPhaseResponse phase = EPhaseResponse::Minimum)
{
  return std::make_unique<CDSPResampler>(4.0 * rate, rate, maxInLen, q.transBandPercent,
                                         q.attenuationDb, phase);
}

// The delay of a resampler in its input samples, as the oversampling engine adds it up.
inline double DelayOf(const CDSPResampler& r)
{
  return r.getInLenBeforeOutPos(0) + r.getLatencyFrac();
}

// cycles: frequency in cycles per sample; phase offset in radians.
inline std::vector<double> Sine(int count, double cycles, double phase = 0.0)
{
  std::vector<double> s(static_cast<std::size_t>(count));
  for (int n = 0; n < count; ++n)
    s[static_cast<std::size_t>(n)] = std::sin(2.0 * std::numbers::pi * cycles * n + phase);
  return s;
}

// Runs signal through r in blocks of blockSize and returns everything it produced.
inline std::vector<double> RunThrough(CDSPResampler& r, const std::vector<double>& signal,
                                      int blockSize)
{
  std::vector<double> out;
  for (std::size_t start = 0; start < signal.size(); start += static_cast<std::size_t>(blockSize))
  {
    const int length = static_cast<int>(
        std::min<std::size_t>(static_cast<std::size_t>(blockSize), signal.size() - start));
    double* produced = nullptr;
    const int count = r.process(signal.data() + start, length, produced);
    out.insert(out.end(), produced, produced + count);
  }
  return out;
}

struct SineFit
{
  double amplitude;
  double residualRms; // everything that is not the fitted sine
};

// Least-squares fit of a sine at a known frequency to signal[start, end).
inline SineFit FitSine(const std::vector<double>& signal, std::size_t start, double cycles)
{
  const double w = 2.0 * std::numbers::pi * cycles;
  double cc = 0.0, ss = 0.0, cs = 0.0, yc = 0.0, ys = 0.0;
  for (std::size_t n = start; n < signal.size(); ++n)
  {
    const double c = std::cos(w * static_cast<double>(n));
    const double s = std::sin(w * static_cast<double>(n));
    cc += c * c;
    ss += s * s;
    cs += c * s;
    yc += signal[n] * c;
    ys += signal[n] * s;
  }
  const double det = cc * ss - cs * cs;
  const double a = (yc * ss - ys * cs) / det;
  const double b = (ys * cc - yc * cs) / det;
  double residual = 0.0;
  for (std::size_t n = start; n < signal.size(); ++n)
  {
    const double model =
        a * std::cos(w * static_cast<double>(n)) + b * std::sin(w * static_cast<double>(n));
    residual += (signal[n] - model) * (signal[n] - model);
  }
  const double count = static_cast<double>(signal.size() - start);
  return {std::hypot(a, b), std::sqrt(residual / count)};
}

inline double Rms(const std::vector<double>& signal, std::size_t start)
{
  double sum = 0.0;
  for (std::size_t n = start; n < signal.size(); ++n)
    sum += signal[n] * signal[n];
  return std::sqrt(sum / static_cast<double>(signal.size() - start));
}

inline double ToDb(double ratio)
{
  return 20.0 * std::log10(ratio);
}

} // namespace velmora::test
