#include "dsp/Interpolator2x.h"

#include <algorithm>

namespace velmora
{

Interpolator2x::Interpolator2x(const std::vector<double>& taps, int maxInLen,
                               const DspKernels& kernels)
    : mBranchLength(static_cast<int>((taps.size() + 1) / 2)), mKernels(&kernels)
{
  const auto branch = static_cast<std::size_t>(mBranchLength);
  mEvenTaps.assign(branch, 0.0);
  mOddTaps.assign(branch, 0.0);
  // Zero-stuffing halves the signal's level; the factor 2 restores it.
  for (std::size_t n = 0; n < taps.size(); ++n)
  {
    auto& branchTaps = (n % 2 == 0) ? mEvenTaps : mOddTaps;
    branchTaps[branch - 1 - n / 2] = 2.0 * taps[n];
  }
  mHistory.assign(branch - 1 + static_cast<std::size_t>(std::max(maxInLen, 0)), 0.0);
}

void Interpolator2x::Process(const double* input, int length, double* output)
{
  const int past = mBranchLength - 1;
  std::copy(input, input + length, mHistory.begin() + past);
  mKernels->interpolate2x(mEvenTaps.data(), mOddTaps.data(), mBranchLength, mHistory.data(), length,
                          output);
  std::copy(mHistory.begin() + length, mHistory.begin() + length + past, mHistory.begin());
}

void Interpolator2x::Clear()
{
  // Only the past inputs are read before being written.
  std::fill(mHistory.begin(), mHistory.begin() + (mBranchLength - 1), 0.0);
}

} // namespace velmora
