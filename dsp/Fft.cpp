#include "dsp/Fft.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace velmora
{

void Fft(std::vector<std::complex<double>>& data, bool inverse)
{
  const std::size_t n = data.size();
  if (n < 2 || (n & (n - 1)) != 0)
    return;

  for (std::size_t i = 1, j = 0; i < n; ++i)
  {
    std::size_t bit = n >> 1;
    for (; j & bit; bit >>= 1)
      j ^= bit;
    j ^= bit;
    if (i < j)
      std::swap(data[i], data[j]);
  }

  // Each twiddle is computed directly rather than by repeated multiplication, which keeps the
  // rounding error low enough for filters with stop bands far below -150 dB.
  const double sign = inverse ? 1.0 : -1.0;
  std::vector<std::complex<double>> twiddles(n / 2);
  for (std::size_t k = 0; k < n / 2; ++k)
  {
    const double angle =
        sign * 2.0 * std::numbers::pi * static_cast<double>(k) / static_cast<double>(n);
    twiddles[k] = {std::cos(angle), std::sin(angle)};
  }

  for (std::size_t len = 2; len <= n; len <<= 1)
  {
    const std::size_t half = len / 2;
    const std::size_t stride = n / len;
    for (std::size_t start = 0; start < n; start += len)
    {
      for (std::size_t k = 0; k < half; ++k)
      {
        const std::complex<double> t = twiddles[k * stride] * data[start + k + half];
        data[start + k + half] = data[start + k] - t;
        data[start + k] += t;
      }
    }
  }

  if (inverse)
  {
    const double scale = 1.0 / static_cast<double>(n);
    for (auto& value : data)
      value *= scale;
  }
}

} // namespace velmora
