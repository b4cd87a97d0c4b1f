#include "dsp/ResamplerCascades.h"

namespace velmora
{

UpCascade::UpCascade(const ResamplerFilters& filters, int maxInLen, const DspKernels& kernels)
    : mFirst(filters.lowStage, maxInLen, kernels),
      mSecond(filters.upHighStage, 2 * maxInLen, kernels),
      mMiddle(2 * static_cast<std::size_t>(maxInLen))
{
}

int UpCascade::Process(const double* input, int length, double* output)
{
  mFirst.Process(input, length, mMiddle.data());
  mSecond.Process(mMiddle.data(), 2 * length, output);
  return 4 * length;
}

void UpCascade::Clear()
{
  mFirst.Clear();
  mSecond.Clear();
}

DownCascade::DownCascade(const ResamplerFilters& filters, int maxInLen, const DspKernels& kernels)
    : mFirst(filters.downHighStage, maxInLen, kernels),
      mSecond(filters.lowStage, maxInLen / 2 + 1, kernels),
      mMiddle(static_cast<std::size_t>(maxInLen / 2 + 1))
{
}

int DownCascade::Process(const double* input, int length, double* output)
{
  const int middle = mFirst.Process(input, length, mMiddle.data());
  return mSecond.Process(mMiddle.data(), middle, output);
}

void DownCascade::Clear()
{
  mFirst.Clear();
  mSecond.Clear();
}

} // namespace velmora
