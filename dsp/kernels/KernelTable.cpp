#include "dsp/kernels/IsaKernels.h"

#define VELMORA_STRINGIFY_NAME(name) #name
#define VELMORA_KERNEL_NAME(name) VELMORA_STRINGIFY_NAME(name)

namespace velmora::VELMORA_KERNEL_ISA
{

const DspKernels& Kernels()
{
  static constexpr DspKernels kTable{VELMORA_KERNEL_NAME(VELMORA_KERNEL_ISA),
                                     &Shape,
                                     &FollowLevels,
                                     &ShapeAndFollow,
                                     &Interpolate2x,
                                     &Decimate2x};
  return kTable;
}

} // namespace velmora::VELMORA_KERNEL_ISA
