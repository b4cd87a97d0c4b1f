#include "dsp/kernels/FollowerStep.h"
#include "dsp/kernels/IsaKernels.h"

namespace velmora::VELMORA_KERNEL_ISA
{

void FollowLevels(const double* const* sources, int count, const double* attackCoefs,
                  const double* releaseCoefs, double* levels)
{
  const double* const a = sources[0];
  const double* const b = sources[1];
  const double* const c = sources[2];
  const double* const d = sources[3];
  FollowerLevels followers;
  followers.Begin(attackCoefs, releaseCoefs, levels);
  for (int i = 0; i < count; ++i)
    followers.Step(a[i], b[i], c[i], d[i]);
  followers.End(levels);
}

} // namespace velmora::VELMORA_KERNEL_ISA
