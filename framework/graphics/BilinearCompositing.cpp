#include "framework/graphics/BilinearCompositing.h"

#include "framework/graphics/PixelCompositing.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace iplug::igraphics
{

namespace
{

// The two source pixels around a target pixel's centre along one axis and the weight (0..256)
// of the second; pixels beyond the image are marked -1.
struct Taps
{
  int first;
  int second;
  uint32_t weight;
  // How much of the target pixel the placed rectangle covers along this axis (0..256).
  uint32_t coverage;
};

Taps TapsFor(int target, double start, double end, double srcStart, double factor, int size)
{
  double u = (target + 0.5 - start) / factor + srcStart - 0.5;
  // Far outside (or not a number) reads as just outside: transparent either way.
  if (!(u > -2.0))
    u = -2.0;
  u = std::min(u, size + 1.0);
  const double base = std::floor(u);
  const auto first = static_cast<int>(base);
  const auto weight = static_cast<uint32_t>(std::lround((u - base) * 256.0));
  double covered = std::min(end, target + 1.0) - std::max(start, target * 1.0);
  covered = covered > 0.0 ? std::min(covered, 1.0) : 0.0;
  const auto inside = [size](int i) { return i >= 0 && i < size ? i : -1; };
  return {inside(first), inside(first + 1), weight,
          static_cast<uint32_t>(std::lround(covered * 256.0))};
}

uint32_t PixelAt(const PremultipliedImage& image, int x, int y)
{
  return x < 0 || y < 0 ? 0u : image.pixels[static_cast<size_t>(y) * image.width + x];
}

// a + (b - a) * w / 256 for every channel at once, two channels per 32-bit lane.
uint32_t Lerp(uint32_t a, uint32_t b, uint32_t w)
{
  constexpr uint32_t kEven = 0x00FF00FFu;
  const uint32_t rb = ((a & kEven) * (256 - w) + (b & kEven) * w) >> 8 & kEven;
  const uint32_t ag = ((a >> 8 & kEven) * (256 - w) + (b >> 8 & kEven) * w) & ~kEven;
  return rb | ag;
}

} // namespace

void CompositeResampled(uint32_t* target, int targetStride, const PixelRect& area,
                        const PremultipliedImage& image, const ImagePlacement& placement,
                        unsigned weight, EBlend method)
{
  if (area.Empty() || !image.pixels || !(placement.factor > 0.0))
    return;
  std::vector<Taps> columns(static_cast<size_t>(area.w));
  for (int x = 0; x < area.w; ++x)
    columns[static_cast<size_t>(x)] = TapsFor(area.x + x, placement.left, placement.right,
                                              placement.srcLeft, placement.factor, image.width);
  for (int y = area.y; y < area.y + area.h; ++y)
  {
    const Taps row = TapsFor(y, placement.top, placement.bottom, placement.srcTop, placement.factor,
                             image.height);
    uint32_t* out = target + static_cast<ptrdiff_t>(y) * targetStride + area.x;
    for (int x = 0; x < area.w; ++x)
    {
      const Taps& column = columns[static_cast<size_t>(x)];
      const uint32_t top = Lerp(PixelAt(image, column.first, row.first),
                                PixelAt(image, column.second, row.first), column.weight);
      const uint32_t bottom = Lerp(PixelAt(image, column.first, row.second),
                                   PixelAt(image, column.second, row.second), column.weight);
      const uint32_t sample = Lerp(top, bottom, row.weight);
      const uint32_t mask = (weight * column.coverage * row.coverage + 32768) >> 16;
      if (sample != 0 || method == EBlend::Clobber)
        out[x] = CompositePixel(out[x], sample, mask, method);
    }
  }
}

} // namespace iplug::igraphics
