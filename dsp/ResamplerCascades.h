#pragma once

#include "dsp/Decimator2x.h"
#include "dsp/DspKernels.h"
#include "dsp/Interpolator2x.h"
#include "dsp/ResamplerFilters.h"

#include <vector>

namespace velmora
{

// Low rate to 4x: interpolate to 2x with the long low stage, then to 4x with the short one.
class UpCascade
{
public:
  UpCascade(const ResamplerFilters& filters, int maxInLen, const DspKernels& kernels);

  // Writes 4 * length samples; length must not exceed maxInLen.
  int Process(const double* input, int length, double* output);
  void Clear();

private:
  Interpolator2x mFirst;
  Interpolator2x mSecond;
  std::vector<double> mMiddle;
};

// 4x to the low rate: decimate to 2x with the short high stage, then to 1x with the long one.
// Up to three input samples are carried between blocks.
class DownCascade
{
public:
  DownCascade(const ResamplerFilters& filters, int maxInLen, const DspKernels& kernels);

  // Returns the samples written: (carried + length) / 4, at most (maxInLen + 3) / 4.
  int Process(const double* input, int length, double* output);
  void Clear();

private:
  Decimator2x mFirst;
  Decimator2x mSecond;
  std::vector<double> mMiddle;
};

} // namespace velmora
