#include "dsp/ShaperCoefficients.h"
#include "dsp/kernels/IsaKernels.h"
#include "dsp/kernels/VectorOps.h"
#include "dsp/kernels/VectorSine.h"

#include <utility>

namespace velmora::VELMORA_KERNEL_ISA
{
namespace
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

CurveLanes Spread(const ShaperCoefficients& c)
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
Vec ShapeLanes(Vec x, const CurveLanes& c)
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

template <bool kPoly, bool kSine, bool kUpper, bool kLower>
void ShapeRun(const double* input, double* output, int count, const CurveLanes& c,
              SampleGuard guard)
{
  const auto shapeOne = [&](Vec x) {
    if (guard == SampleGuard::ZeroNonFiniteInput)
      x = IsFinite(x) ? x : Splat(0.0);
    Vec y = ShapeLanes<kPoly, kSine, kUpper, kLower>(x, c);
    if (guard == SampleGuard::ZeroNonFiniteOutput)
      y = IsFinite(y) ? y : Splat(0.0);
    return y;
  };
  int i = 0;
  for (; i + kLanes <= count; i += kLanes)
    Store(output + i, shapeOne(Load(input + i)));
  if (i < count)
  {
    // The last few samples go through one padded vector, so they get the same arithmetic.
    double lanes[kLanes] = {};
    const int rest = count - i;
    __builtin_memcpy(lanes, input + i, static_cast<unsigned long>(rest) * sizeof(double));
    Store(lanes, shapeOne(Load(lanes)));
    __builtin_memcpy(output + i, lanes, static_cast<unsigned long>(rest) * sizeof(double));
  }
}

using ShapeRunFunction = void (*)(const double*, double*, int, const CurveLanes&, SampleGuard);

// Indexed by the four stage flags: polynomial, sine, upper side, lower side.
template <int... kIndex>
constexpr ShapeRunFunction PickRun(int index, std::integer_sequence<int, kIndex...>)
{
  constexpr ShapeRunFunction kRuns[] = {
      &ShapeRun<(kIndex & 8) != 0, (kIndex & 4) != 0, (kIndex & 2) != 0, (kIndex & 1) != 0>...};
  return kRuns[index];
}

} // namespace

void Shape(const double* input, double* output, int count, const ShaperCoefficients& c,
           SampleGuard guard)
{
  if (count <= 0)
    return;
  // A ratio of 1 makes its side the identity, and a share of 0 removes its stage.
  const int stages = (c.polyAmount > 0.0 ? 8 : 0) | (c.sineAmount > 0.0 ? 4 : 0) |
                     (c.upperRatio != 1.0 ? 2 : 0) | (c.lowerRatio != 1.0 ? 1 : 0);
  const CurveLanes lanes = Spread(c);
  PickRun(stages, std::make_integer_sequence<int, 16>{})(input, output, count, lanes, guard);
}

} // namespace velmora::VELMORA_KERNEL_ISA
