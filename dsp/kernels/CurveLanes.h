#pragma once

// The curve over one vector of samples, shared by the kernels that run it. Included only by
// kernel sources (see VectorOps.h).

#include "dsp/DspKernels.h"
#include "dsp/ShaperCoefficients.h"
#include "dsp/kernels/VectorOps.h"
#include "dsp/kernels/VectorSine.h"

#include <utility>

namespace velmora::VELMORA_KERNEL_ISA
{

// The same constant as the scalar curve's.
constexpr double kSineScale = 1.57079632675;

// The record's values as the lanes use them. The knee widths and ratios minus one are the
// differences the scalar curve forms per sample, so forming them once gives the same bits.
struct CurveLanes
{
  Vec drive, outputGain, polyAmount, polyDry, polyScale, polyHalf, sineAmount, sineDry;
  Vec upperThreshold, lowerThreshold, upperWidth, lowerWidth, upperSlope, lowerSlope;
  Vec dryGain, wetGain;
};

inline CurveLanes Spread(const ShaperCoefficients& c)
{
  return {Splat(c.drive),
          Splat(c.outputGain),
          Splat(c.polyAmount),
          Splat(c.polyDry),
          Splat(c.polyScale),
          Splat(c.polyHalf),
          Splat(c.sineAmount),
          Splat(c.sineDry),
          Splat(c.upperThreshold),
          Splat(c.lowerThreshold),
          Splat(c.upperKneeEnd - c.upperThreshold),
          Splat(c.lowerKneeEnd - c.lowerThreshold),
          Splat(c.upperRatio - 1.0),
          Splat(c.lowerRatio - 1.0),
          Splat(c.dryGain),
          Splat(c.wetGain)};
}

// Every lane computes the branch of its side and keeps it only where it applies, which gives the
// scalar curve's bits; the divisions are skipped for vectors with no lane beyond a threshold.
template <bool kPoly, bool kSine, bool kUpper, bool kLower>
inline Vec ShapeLanes(Vec x, const CurveLanes& c)
{
  Vec s = x * c.drive;
  if constexpr (kPoly)
    s = (1.0 - Abs(s * c.polyHalf)) * (s * c.polyScale) * c.polyAmount + s * c.polyDry;
  if constexpr (kSine)
    s = Sine(s * kSineScale) * c.sineAmount + s * c.sineDry;
  if constexpr (kUpper || kLower)
  {
    // The upper side is tested first, also when its ratio of 1 leaves it alone.
    const Mask above = s > c.upperThreshold;
    Mask upper = Mask{};
    Mask lower = Mask{};
    if constexpr (kUpper)
      upper = above;
    if constexpr (kLower)
      lower = (s < c.lowerThreshold) & ~above;
    const Mask beyond = upper | lower;
    if (AnyLane(beyond))
    {
      const Vec threshold = upper ? c.upperThreshold : c.lowerThreshold;
      const Vec width = upper ? c.upperWidth : c.lowerWidth;
      const Vec slope = upper ? c.upperSlope : c.lowerSlope;
      const Vec excess = s - threshold;
      const Vec f = excess / width;
      const Vec atLeastOne = 1.0 < f ? f : Splat(1.0);
      const Vec compressed = excess / (atLeastOne * slope + 1.0) + threshold;
      s = beyond ? compressed : s;
    }
  }
  return (s * c.wetGain + x * c.dryGain) * c.outputGain;
}

// Which stages a record needs, as the index of StageTable: a ratio of 1 makes its side the
// identity, and a share of 0 removes its stage.
inline int StagesOf(const ShaperCoefficients& c)
{
  return (c.polyAmount > 0.0 ? 8 : 0) | (c.sineAmount > 0.0 ? 4 : 0) |
         (c.upperRatio != 1.0 ? 2 : 0) | (c.lowerRatio != 1.0 ? 1 : 0);
}

// The sixteen instances of Run<polynomial, sine, upper side, lower side>::Apply, indexed as
// StagesOf numbers them, so that a block picks its loop once.
template <typename Function> struct StageFunctions
{
  Function run[16];
};

template <template <bool, bool, bool, bool> class Run, int... kIndex>
constexpr auto StageTable(std::integer_sequence<int, kIndex...>)
{
  using Function = decltype(&Run<false, false, false, false>::Apply);
  return StageFunctions<Function>{
      {&Run<(kIndex & 8) != 0, (kIndex & 4) != 0, (kIndex & 2) != 0, (kIndex & 1) != 0>::Apply...}};
}

template <template <bool, bool, bool, bool> class Run> auto PickStages(const ShaperCoefficients& c)
{
  static constexpr auto kTable = StageTable<Run>(std::make_integer_sequence<int, 16>{});
  return kTable.run[StagesOf(c)];
}

inline Vec ApplyGuard(Vec x, SampleGuard guard, SampleGuard wanted)
{
  return guard == wanted ? (IsFinite(x) ? x : Splat(0.0)) : x;
}

} // namespace velmora::VELMORA_KERNEL_ISA
