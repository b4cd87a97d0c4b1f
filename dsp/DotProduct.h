#pragma once

namespace velmora
{

// Sum of a[i] * b[i] over count values, with four partial sums so the additions overlap.
inline double DotProduct(const double* a, const double* b, int count)
{
  double s0 = 0.0;
  double s1 = 0.0;
  double s2 = 0.0;
  double s3 = 0.0;
  int i = 0;
  for (; i + 4 <= count; i += 4)
  {
    s0 += a[i] * b[i];
    s1 += a[i + 1] * b[i + 1];
    s2 += a[i + 2] * b[i + 2];
    s3 += a[i + 3] * b[i + 3];
  }
  for (; i < count; ++i)
    s0 += a[i] * b[i];
  return (s0 + s1) + (s2 + s3);
}

} // namespace velmora
