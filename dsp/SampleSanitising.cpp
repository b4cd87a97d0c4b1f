#include "dsp/SampleSanitising.h"

#include <algorithm>
#include <cmath>

namespace velmora
{

void CopyFinite(const double* source, double* destination, int count)
{
  if (count <= 0)
    return;
  if (source == nullptr)
  {
    std::fill(destination, destination + count, 0.0);
    return;
  }
  for (int i = 0; i < count; ++i)
    destination[i] = std::isfinite(source[i]) ? source[i] : 0.0;
}

} // namespace velmora
