#include "dsp/kernels/CurveLanes.h"
#include "dsp/kernels/IsaKernels.h"

namespace velmora::VELMORA_KERNEL_ISA
{
namespace
{

template <bool kPoly, bool kSine, bool kUpper, bool kLower> struct ShapeRun
{
  static void Apply(const double* input, double* output, int count, const CurveLanes& c,
                    SampleGuard guard)
  {
    const auto shapeOne = [&](Vec x)
    {
      x = ApplyGuard(x, guard, SampleGuard::ZeroNonFiniteInput);
      const Vec y = ShapeLanes<kPoly, kSine, kUpper, kLower>(x, c);
      return ApplyGuard(y, guard, SampleGuard::ZeroNonFiniteOutput);
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
};

} // namespace

void Shape(const double* input, double* output, int count, const ShaperCoefficients& c,
           SampleGuard guard)
{
  if (count <= 0)
    return;
  PickStages<ShapeRun>(c)(input, output, count, Spread(c), guard);
}

} // namespace velmora::VELMORA_KERNEL_ISA
