#pragma once

#include "dsp/DspKernels.h"

#include <vector>

namespace velmora
{

// Halves the sample rate: an FIR lowpass evaluated only at every second input sample. Output m is
// the filter's output at input sample 2m + 1 (it appears once that sample has arrived), so the
// delay in input samples is the filter's own delay minus one. An odd sample left over at the end
// of a block waits for its partner in the next.
class Decimator2x
{
public:
  // taps: the lowpass at the input rate with unity gain at DC; maxInLen: the longest block;
  // kernels: the variant that runs the filter.
  Decimator2x(const std::vector<double>& taps, int maxInLen, const DspKernels& kernels);

  // Returns the number of samples written to output: (carried + length) / 2, at most
  // maxInLen / 2 + 1.
  int Process(const double* input, int length, double* output);
  void Clear();

  static double DelayOf(const std::vector<double>& taps);

private:
  // The reversed taps split by parity, so that each phase of the history is read contiguously.
  std::vector<double> mEvenTaps;
  std::vector<double> mOddTaps;
  std::vector<double> mHistory; // taps - 1 past inputs, a carried sample, then the block
  std::vector<double> mEvenPhase;
  std::vector<double> mOddPhase;
  int mTapCount = 0;
  int mCarried = 0;
  const DspKernels* mKernels;
};

} // namespace velmora
