#include "dsp/Decimator2x.h"

#include "dsp/KaiserLowpass.h"

#include <algorithm>

namespace velmora
{

Decimator2x::Decimator2x(const std::vector<double>& taps, int maxInLen, const DspKernels& kernels)
    : mTapCount(static_cast<int>(taps.size())), mKernels(&kernels)
{
  for (std::size_t k = 0; k < taps.size(); ++k)
  {
    auto& phaseTaps = (k % 2 == 0) ? mEvenTaps : mOddTaps;
    phaseTaps.push_back(taps[taps.size() - 1 - k]);
  }
  mHistory.assign(taps.size() + static_cast<std::size_t>(std::max(maxInLen, 0)), 0.0);
  mEvenPhase.assign(mHistory.size() / 2 + 1, 0.0);
  mOddPhase.assign(mHistory.size() / 2 + 1, 0.0);
}

int Decimator2x::Process(const double* input, int length, double* output)
{
  const int past = mTapCount - 1;
  std::copy(input, input + length, mHistory.begin() + past + mCarried);
  const int available = mCarried + length;
  const int count = available / 2;
  // Output m reads window[2m + k] for the reversed taps k: the even k from the even phase and the
  // odd k from the odd phase.
  const double* window = mHistory.data() + 1;
  const int evenCount = static_cast<int>(mEvenTaps.size());
  const int oddCount = static_cast<int>(mOddTaps.size());
  if (count > 0)
  {
    for (int i = 0; i < count + evenCount - 1; ++i)
      mEvenPhase[static_cast<std::size_t>(i)] = window[2 * i];
    for (int i = 0; i < count + oddCount - 1; ++i)
      mOddPhase[static_cast<std::size_t>(i)] = window[2 * i + 1];
    mKernels->decimate2x(mEvenTaps.data(), evenCount, mOddTaps.data(), oddCount, mEvenPhase.data(),
                         mOddPhase.data(), count, output);
  }

  const int consumed = 2 * count;
  mCarried = available - consumed;
  std::copy(mHistory.begin() + consumed, mHistory.begin() + consumed + past + mCarried,
            mHistory.begin());
  return count;
}

void Decimator2x::Clear()
{
  // Only the past inputs are read before being written; no sample is carried any more.
  std::fill(mHistory.begin(), mHistory.begin() + (mTapCount - 1), 0.0);
  mCarried = 0;
}

double Decimator2x::DelayOf(const std::vector<double>& taps)
{
  return DcGroupDelay(taps) - 1.0;
}

} // namespace velmora
