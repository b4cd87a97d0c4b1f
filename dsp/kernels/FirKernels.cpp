#include "dsp/kernels/IsaKernels.h"
#include "dsp/kernels/VectorOps.h"

namespace velmora::VELMORA_KERNEL_ISA
{
namespace
{

// Outputs are computed kBlock vectors at a time, each output as one running sum over the taps in
// the filter's order, so the result of an output does not depend on where a block boundary or the
// scalar tail falls. Enough independent sums keep the multiply-add units busy despite each sum's
// latency.
#if defined(__AVX512F__)
constexpr int kBlock = 4;
#else
constexpr int kBlock = 2;
#endif

// Interleaves even and odd outputs: lanes (e0 o0 e1 o1 ...) of the low half, then the high half.
void StoreInterleaved(double* output, Vec even, Vec odd)
{
#if defined(__AVX512F__)
  const Mask low = {0, 8, 1, 9, 2, 10, 3, 11};
  const Mask high = {4, 12, 5, 13, 6, 14, 7, 15};
#elif defined(__AVX2__)
  const Mask low = {0, 4, 1, 5};
  const Mask high = {2, 6, 3, 7};
#else
  const Mask low = {0, 2};
  const Mask high = {1, 3};
#endif
  Store(output, __builtin_shuffle(even, odd, low));
  Store(output + kLanes, __builtin_shuffle(even, odd, high));
}

} // namespace

void Interpolate2x(const double* evenTaps, const double* oddTaps, int branchLength,
                   const double* history, int length, double* output)
{
  constexpr int kStep = kBlock * kLanes;
  int m = 0;
  for (; m + kStep <= length; m += kStep)
  {
    Vec even[kBlock] = {};
    Vec odd[kBlock] = {};
    for (int j = 0; j < branchLength; ++j)
    {
      const Vec e = Splat(evenTaps[j]);
      const Vec o = Splat(oddTaps[j]);
#pragma GCC unroll 8
      for (int b = 0; b < kBlock; ++b)
      {
        const Vec window = Load(history + m + j + b * kLanes);
        even[b] = MulAdd(e, window, even[b]);
        odd[b] = MulAdd(o, window, odd[b]);
      }
    }
#pragma GCC unroll 8
    for (int b = 0; b < kBlock; ++b)
      StoreInterleaved(output + 2 * (m + b * kLanes), even[b], odd[b]);
  }
  for (; m < length; ++m)
  {
    double even = 0.0;
    double odd = 0.0;
    for (int j = 0; j < branchLength; ++j)
    {
      even = MulAdd(evenTaps[j], history[m + j], even);
      odd = MulAdd(oddTaps[j], history[m + j], odd);
    }
    output[2 * m] = even;
    output[2 * m + 1] = odd;
  }
}

void Decimate2x(const double* evenTaps, int evenCount, const double* oddTaps, int oddCount,
                const double* evenPhase, const double* oddPhase, int count, double* output)
{
  // Each output's sum alternates between the phases, so it waits on two multiply-adds per tap
  // pair: twice the independent sums of the interpolator keep the units as busy.
  constexpr int kSums = 2 * kBlock;
  constexpr int kStep = kSums * kLanes;
  const int pairs = oddCount < evenCount ? oddCount : evenCount;
  int m = 0;
  for (; m + kStep <= count; m += kStep)
  {
    Vec sum[kSums] = {};
    for (int j = 0; j < pairs; ++j)
    {
      const Vec e = Splat(evenTaps[j]);
      const Vec o = Splat(oddTaps[j]);
#pragma GCC unroll 16
      for (int b = 0; b < kSums; ++b)
      {
        sum[b] = MulAdd(e, Load(evenPhase + m + j + b * kLanes), sum[b]);
        sum[b] = MulAdd(o, Load(oddPhase + m + j + b * kLanes), sum[b]);
      }
    }
    if (evenCount > pairs)
    {
      const Vec e = Splat(evenTaps[pairs]);
#pragma GCC unroll 16
      for (int b = 0; b < kSums; ++b)
        sum[b] = MulAdd(e, Load(evenPhase + m + pairs + b * kLanes), sum[b]);
    }
#pragma GCC unroll 16
    for (int b = 0; b < kSums; ++b)
      Store(output + m + b * kLanes, sum[b]);
  }
  for (; m < count; ++m)
  {
    double sum = 0.0;
    for (int j = 0; j < pairs; ++j)
    {
      sum = MulAdd(evenTaps[j], evenPhase[m + j], sum);
      sum = MulAdd(oddTaps[j], oddPhase[m + j], sum);
    }
    if (evenCount > pairs)
      sum = MulAdd(evenTaps[pairs], evenPhase[m + pairs], sum);
    output[m] = sum;
  }
}

} // namespace velmora::VELMORA_KERNEL_ISA
