#pragma once

#include "dsp/DspKernelDispatch.h"
#include "dsp/SaturationCurve.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace velmora::test
{

inline std::string VariantName(const testing::TestParamInfo<const DspKernels*>& info)
{
  return info.param->name;
}

inline uint64_t Bits(double x)
{
  uint64_t bits = 0;
  std::memcpy(&bits, &x, sizeof bits);
  return bits;
}

// Audio with the awkward values mixed in: NaN, infinities, denormals, signed zeros, values far
// beyond full scale and the largest finite ones.
inline std::vector<double> AwkwardSignal(std::mt19937_64& rng, int count)
{
  constexpr double kInf = std::numeric_limits<double>::infinity();
  constexpr double kDenormal = std::numeric_limits<double>::denorm_min();
  const double specials[] = {std::numeric_limits<double>::quiet_NaN(),
                             kInf,
                             -kInf,
                             kDenormal,
                             -kDenormal * 12345.0,
                             std::numeric_limits<double>::min() / 3.0,
                             0.0,
                             -0.0,
                             std::numeric_limits<double>::max(),
                             -std::numeric_limits<double>::max(),
                             1e300,
                             -7.5};
  std::uniform_real_distribution<double> audio(-1.5, 1.5);
  std::uniform_int_distribution<int> pick(0, 9);
  std::uniform_int_distribution<size_t> special(0, std::size(specials) - 1);
  std::vector<double> signal(static_cast<size_t>(count));
  for (double& x : signal)
    x = pick(rng) == 0 ? specials[special(rng)] : audio(rng);
  return signal;
}

// Settings across the parameter ranges, with each stage switched off now and then and both
// ratios at 1 now and then, so that every combination of stages the kernel picks comes up.
inline ShaperSettings RandomSettings(std::mt19937_64& rng)
{
  auto uniform = [&rng](double low, double high)
  { return std::uniform_real_distribution<double>(low, high)(rng); };
  auto sometimes = [&rng]() { return std::uniform_int_distribution<int>(0, 3)(rng) == 0; };
  ShaperSettings p;
  p.threshold = uniform(-60.0, 0.0);
  p.thresholdAsym = uniform(-30.0, 30.0);
  p.nonlinearity = sometimes() ? 1.0 : uniform(1.0, 1.13);
  p.nonlinearityAsym = sometimes() ? 0.0 : uniform(-0.06, 0.06);
  p.knee = uniform(0.1, 9.0);
  p.kneeAsym = uniform(-9.0, 9.0);
  p.modA = sometimes() ? 0.0 : uniform(0.0, 100.0);
  p.modB = sometimes() ? 0.0 : uniform(0.0, 100.0);
  p.gain = uniform(0.0, 60.0);
  p.mix = uniform(0.0, 100.0);
  p.output = uniform(-60.0, 0.0);
  return p;
}

} // namespace velmora::test
