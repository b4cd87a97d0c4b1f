#include "dsp/kernels/CurveLanes.h"
#include "dsp/kernels/FollowerStep.h"
#include "dsp/kernels/IsaKernels.h"

namespace velmora::VELMORA_KERNEL_ISA
{
namespace
{

// A vector of frames at a time: shape each channel, then step the followers over frames as the
// buffers now stand. The followers' chain from frame to frame is the slowest part; the curve's
// work for the next frames runs in its shadow.
template <bool kPoly, bool kSine, bool kUpper, bool kLower> struct ShapeAndFollowRun
{
  static void Apply(const double* const* inputs, double* const* outputs, int channels, int count,
                    const CurveLanes& c, FollowerLevels& levels)
  {
    // A local copy stays in registers; stores to the outputs could otherwise alias it.
    FollowerLevels followers = levels;
    const double* const inLeft = inputs[0];
    const double* const inRight = channels > 1 ? inputs[1] : inLeft;
    double* const outLeft = outputs[0];
    double* const outRight = channels > 1 ? outputs[1] : outLeft;
    const auto shapeOne = [&c](Vec x)
    {
      x = ApplyGuard(x, SampleGuard::ZeroNonFiniteInput, SampleGuard::ZeroNonFiniteInput);
      return ShapeLanes<kPoly, kSine, kUpper, kLower>(x, c);
    };
    const auto follow = [&](int from, int to)
    {
      for (int i = from; i < to; ++i)
        followers.Step(inLeft[i], inRight[i], outLeft[i], outRight[i]);
    };
    // The followers trail the curve by one vector of frames, so that they read samples stored a
    // while ago rather than wait for the stores just made.
    int i = 0;
    for (; i + kLanes <= count; i += kLanes)
    {
      for (int ch = 0; ch < channels; ++ch)
        Store(outputs[ch] + i, shapeOne(Load(inputs[ch] + i)));
      if (i > 0)
        follow(i - kLanes, i);
    }
    if (i > 0)
      follow(i - kLanes, i);
    if (i < count)
    {
      const int rest = count - i;
      const auto bytes = static_cast<unsigned long>(rest) * sizeof(double);
      for (int ch = 0; ch < channels; ++ch)
      {
        double lanes[kLanes] = {};
        __builtin_memcpy(lanes, inputs[ch] + i, bytes);
        Store(lanes, shapeOne(Load(lanes)));
        __builtin_memcpy(outputs[ch] + i, lanes, bytes);
      }
      follow(i, count);
    }
    levels = followers;
  }
};

} // namespace

#if defined(__AVX512F__)
} // namespace velmora::VELMORA_KERNEL_ISA

namespace velmora::avx2
{
void ShapeAndFollow(const double* const* inputs, double* const* outputs, int channels, int count,
                    const ShaperCoefficients& c, const double* attackCoefs,
                    const double* releaseCoefs, double* levels);
}

namespace velmora::VELMORA_KERNEL_ISA
{
#endif

void ShapeAndFollow(const double* const* inputs, double* const* outputs, int channels, int count,
                    const ShaperCoefficients& c, const double* attackCoefs,
                    const double* releaseCoefs, double* levels)
{
  if (count <= 0 || channels < 1 || channels > 2)
    return;
#if defined(__AVX512F__)
  // With the curve down to drive and mix the followers' chain decides the pace, and 512-bit work
  // in the same loop takes a port from that chain: the 256-bit pass is faster. With any stage on,
  // the curve's work decides and 512-bit vectors halve it.
  if (StagesOf(c) == 0)
  {
    avx2::ShapeAndFollow(inputs, outputs, channels, count, c, attackCoefs, releaseCoefs, levels);
    return;
  }
#endif
  FollowerLevels followers;
  followers.Begin(attackCoefs, releaseCoefs, levels);
  PickStages<ShapeAndFollowRun>(c)(inputs, outputs, channels, count, Spread(c), followers);
  followers.End(levels);
}

} // namespace velmora::VELMORA_KERNEL_ISA
