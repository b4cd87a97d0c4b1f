#include "dsp/Decimator2x.h"

#include "dsp/DotProduct.h"
#include "dsp/KaiserLowpass.h"

#include <algorithm>

namespace velmora
{

Decimator2x::Decimator2x(const std::vector<double>& taps, int maxInLen)
    : mReversedTaps(taps.rbegin(), taps.rend()), mTapCount(static_cast<int>(taps.size()))
{
  mHistory.assign(taps.size() + static_cast<std::size_t>(std::max(maxInLen, 0)), 0.0);
}

int Decimator2x::Process(const double* input, int length, double* output)
{
  const int past = mTapCount - 1;
  std::copy(input, input + length, mHistory.begin() + past + mCarried);
  const int available = mCarried + length;
  const int count = available / 2;
  const double* window = mHistory.data() + 1;
  for (int m = 0; m < count; ++m, window += 2)
    output[m] = DotProduct(mReversedTaps.data(), window, mTapCount);

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
