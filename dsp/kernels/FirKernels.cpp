#include "dsp/kernels/IsaKernels.h"
#include "dsp/kernels/VectorOps.h"

namespace velmora::VELMORA_KERNEL_ISA
{
namespace
{

// Outputs are computed several vectors at a time, each output as one running sum over the taps
// in the filter's order, so the result of an output does not depend on where a block boundary or
// the scalar tail falls. Wide blocks give enough independent sums to hide each sum's latency;
// narrower ones finish what is left before the scalar tail.
#if defined(__AVX512F__)
constexpr int kWideBlock = 8;
#else
constexpr int kWideBlock = 4;
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

// Outputs m to m + kBlock * kLanes - 1 of both branches.
template <int kBlock>
void InterpolateBlock(const double* evenTaps, const double* oddTaps, int branchLength,
                      const double* history, int m, double* output)
{
  Vec even[kBlock];
  Vec odd[kBlock];
#pragma GCC unroll 16
  for (int b = 0; b < kBlock; ++b)
  {
    even[b] = Splat(0.0);
    odd[b] = Splat(0.0);
  }
  for (int j = 0; j < branchLength; ++j)
  {
    const Vec e = Splat(evenTaps[j]);
    const Vec o = Splat(oddTaps[j]);
#pragma GCC unroll 16
    for (int b = 0; b < kBlock; ++b)
    {
      const Vec window = Load(history + m + j + b * kLanes);
      even[b] = MulAdd(e, window, even[b]);
      odd[b] = MulAdd(o, window, odd[b]);
    }
  }
#pragma GCC unroll 16
  for (int b = 0; b < kBlock; ++b)
    StoreInterleaved(output + 2 * (m + b * kLanes), even[b], odd[b]);
}

// Outputs m to m + kBlock * kLanes - 1; each sum alternates between the two phases.
template <int kBlock>
void DecimateBlock(const double* evenTaps, int evenCount, const double* oddTaps, int pairs,
                   const double* evenPhase, const double* oddPhase, int m, double* output)
{
  Vec sum[kBlock];
#pragma GCC unroll 16
  for (int b = 0; b < kBlock; ++b)
    sum[b] = Splat(0.0);
  for (int j = 0; j < pairs; ++j)
  {
    const Vec e = Splat(evenTaps[j]);
    const Vec o = Splat(oddTaps[j]);
#pragma GCC unroll 16
    for (int b = 0; b < kBlock; ++b)
    {
      sum[b] = MulAdd(e, Load(evenPhase + m + j + b * kLanes), sum[b]);
      sum[b] = MulAdd(o, Load(oddPhase + m + j + b * kLanes), sum[b]);
    }
  }
  if (evenCount > pairs)
  {
    const Vec e = Splat(evenTaps[pairs]);
#pragma GCC unroll 16
    for (int b = 0; b < kBlock; ++b)
      sum[b] = MulAdd(e, Load(evenPhase + m + pairs + b * kLanes), sum[b]);
  }
#pragma GCC unroll 16
  for (int b = 0; b < kBlock; ++b)
    Store(output + m + b * kLanes, sum[b]);
}

#if defined(__AVX512F__)
// The history from vector v[b] on, kShift samples later: lanes kShift.. of v[b], then the first of
// v[b + 1].
template <int kShift> Vec Later(Vec low, Vec high)
{
  if constexpr (kShift == 0)
    return low;
  else
    return __builtin_shuffle(low, high,
                             Mask{kShift, kShift + 1, kShift + 2, kShift + 3, kShift + 4,
                                  kShift + 5, kShift + 6, kShift + 7});
}

template <int kShift, int kBlock>
void InterpolateTap(const Vec (&window)[kBlock + 1], double evenTap, double oddTap,
                    Vec (&even)[kBlock], Vec (&odd)[kBlock])
{
  const Vec e = Splat(evenTap);
  const Vec o = Splat(oddTap);
#pragma GCC unroll 16
  for (int b = 0; b < kBlock; ++b)
  {
    const Vec w = Later<kShift>(window[b], window[b + 1]);
    even[b] = MulAdd(e, w, even[b]);
    odd[b] = MulAdd(o, w, odd[b]);
  }
}

// As InterpolateBlock, but eight taps at a time from one load per vector: the windows of the
// other seven are shifted out of registers. Unaligned 512-bit loads mostly span two cache lines,
// and loading each window anew left the multiply-adds waiting on them.
template <int kBlock>
void InterpolateBlockShifting(const double* evenTaps, const double* oddTaps, int branchLength,
                              const double* history, int m, double* output)
{
  Vec even[kBlock];
  Vec odd[kBlock];
#pragma GCC unroll 16
  for (int b = 0; b < kBlock; ++b)
  {
    even[b] = Splat(0.0);
    odd[b] = Splat(0.0);
  }
  // Strictly below: the last vector loaded reaches one sample past the eight taps' windows.
  int j = 0;
  for (; j + kLanes < branchLength; j += kLanes)
  {
    Vec window[kBlock + 1];
#pragma GCC unroll 16
    for (int b = 0; b <= kBlock; ++b)
      window[b] = Load(history + m + j + b * kLanes);
    InterpolateTap<0, kBlock>(window, evenTaps[j], oddTaps[j], even, odd);
    InterpolateTap<1, kBlock>(window, evenTaps[j + 1], oddTaps[j + 1], even, odd);
    InterpolateTap<2, kBlock>(window, evenTaps[j + 2], oddTaps[j + 2], even, odd);
    InterpolateTap<3, kBlock>(window, evenTaps[j + 3], oddTaps[j + 3], even, odd);
    InterpolateTap<4, kBlock>(window, evenTaps[j + 4], oddTaps[j + 4], even, odd);
    InterpolateTap<5, kBlock>(window, evenTaps[j + 5], oddTaps[j + 5], even, odd);
    InterpolateTap<6, kBlock>(window, evenTaps[j + 6], oddTaps[j + 6], even, odd);
    InterpolateTap<7, kBlock>(window, evenTaps[j + 7], oddTaps[j + 7], even, odd);
  }
  for (; j < branchLength; ++j)
  {
    const Vec e = Splat(evenTaps[j]);
    const Vec o = Splat(oddTaps[j]);
#pragma GCC unroll 16
    for (int b = 0; b < kBlock; ++b)
    {
      const Vec window = Load(history + m + j + b * kLanes);
      even[b] = MulAdd(e, window, even[b]);
      odd[b] = MulAdd(o, window, odd[b]);
    }
  }
#pragma GCC unroll 16
  for (int b = 0; b < kBlock; ++b)
    StoreInterleaved(output + 2 * (m + b * kLanes), even[b], odd[b]);
}

#endif

} // namespace

void Interpolate2x(const double* evenTaps, const double* oddTaps, int branchLength,
                   const double* history, int length, double* output)
{
  int m = 0;
  for (; m + kWideBlock * kLanes <= length; m += kWideBlock * kLanes)
  {
#if defined(__AVX512F__)
    InterpolateBlockShifting<kWideBlock>(evenTaps, oddTaps, branchLength, history, m, output);
#else
    InterpolateBlock<kWideBlock>(evenTaps, oddTaps, branchLength, history, m, output);
#endif
  }
  for (; m + kLanes <= length; m += kLanes)
    InterpolateBlock<1>(evenTaps, oddTaps, branchLength, history, m, output);
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
  // Two multiply-adds per tap pair wait on each other within a sum, so the wide blocks are twice
  // as wide as the interpolator's.
  constexpr int kBlock = 2 * kWideBlock;
  const int pairs = oddCount < evenCount ? oddCount : evenCount;
  int m = 0;
  for (; m + kBlock * kLanes <= count; m += kBlock * kLanes)
    DecimateBlock<kBlock>(evenTaps, evenCount, oddTaps, pairs, evenPhase, oddPhase, m, output);
  for (; m + 2 * kLanes <= count; m += 2 * kLanes)
    DecimateBlock<2>(evenTaps, evenCount, oddTaps, pairs, evenPhase, oddPhase, m, output);
  for (; m + kLanes <= count; m += kLanes)
    DecimateBlock<1>(evenTaps, evenCount, oddTaps, pairs, evenPhase, oddPhase, m, output);
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
