#pragma once

#include "dsp/DspKernels.h"

#include <vector>

namespace velmora
{

// Doubles the sample rate: zero-stuffing followed by an FIR lowpass, computed as two polyphase
// branches. Output sample 2m is the filter's output at the input sample m, so the delay is the
// filter's own delay in output samples.
class Interpolator2x
{
public:
  // taps: the lowpass at the output rate with unity gain at DC; maxInLen: the longest block;
  // kernels: the variant that runs the filter.
  Interpolator2x(const std::vector<double>& taps, int maxInLen, const DspKernels& kernels);

  // Writes 2 * length samples to output; length must not exceed maxInLen.
  void Process(const double* input, int length, double* output);
  void Clear();

private:
  std::vector<double> mEvenTaps; // reversed, so a dot product runs over ascending history
  std::vector<double> mOddTaps;
  std::vector<double> mHistory; // branch length - 1 past inputs, then the current block
  int mBranchLength = 0;
  const DspKernels* mKernels;
};

} // namespace velmora
