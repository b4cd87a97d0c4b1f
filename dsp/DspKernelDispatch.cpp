#include "dsp/DspKernelDispatch.h"

namespace velmora
{
namespace sse2
{
const DspKernels& Kernels();
}
namespace avx2
{
const DspKernels& Kernels();
}
namespace avx512
{
const DspKernels& Kernels();
}

std::vector<const DspKernels*> SupportedDspKernels()
{
  __builtin_cpu_init();
  std::vector<const DspKernels*> variants{&sse2::Kernels()};
  if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma"))
    variants.push_back(&avx2::Kernels());
  if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl") &&
      __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx2") &&
      __builtin_cpu_supports("fma"))
    variants.push_back(&avx512::Kernels());
  return variants;
}

const DspKernels& FastestDspKernels()
{
  static const DspKernels& fastest = *SupportedDspKernels().back();
  return fastest;
}

} // namespace velmora
