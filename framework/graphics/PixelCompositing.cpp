#include "framework/graphics/PixelCompositing.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace iplug::igraphics
{

namespace
{

// a * b / 255, rounded.
inline uint32_t Mul(uint32_t a, uint32_t b)
{
  const uint32_t t = a * b + 0x80;
  return ((t >> 8) + t) >> 8;
}

inline uint32_t Channel(uint32_t px, int shift)
{
  return (px >> shift) & 0xFF;
}

// Every channel of a pixel times m / 255.
inline uint32_t Scale(uint32_t px, uint32_t m)
{
  if (m == 255)
    return px;
  return Mul(Channel(px, 24), m) << 24 | Mul(Channel(px, 16), m) << 16 |
         Mul(Channel(px, 8), m) << 8 | Mul(Channel(px, 0), m);
}

// s + d * k / 255 per channel, held at 255; the result is opaque, as the image is.
inline uint32_t AddScaled(uint32_t s, uint32_t d, uint32_t k)
{
  uint32_t out = 0xFF000000u;
  for (int shift = 0; shift < 24; shift += 8)
    out |= std::min<uint32_t>(Channel(s, shift) + Mul(Channel(d, shift), k), 255) << shift;
  return out;
}

inline uint32_t Combine(uint32_t d, uint32_t s, uint32_t m, EBlend method)
{
  // Opaque or fully transparent pixels at full weight, most of every image.
  if (m == 255 && (method == EBlend::Default || method == EBlend::SrcOver))
  {
    if (s >= 0xFF000000u)
      return s;
    if (s == 0)
      return d;
  }
  const uint32_t sm = Scale(s, m);
  switch (method)
  {
  case EBlend::Add:
    return AddScaled(sm, d, 255);
  case EBlend::Clobber:
    return AddScaled(sm, d, 255 - m);
  case EBlend::Default:
  case EBlend::SrcOver:
    break;
  }
  return AddScaled(sm, d, 255 - Channel(sm, 24));
}

} // namespace

uint32_t CompositePixel(uint32_t dst, uint32_t src, unsigned mask, EBlend method)
{
  return Combine(dst, src, std::min(mask, 255u), method);
}

void CompositeImageRow(uint32_t* dst, const uint32_t* src, int n, unsigned weight, EBlend method)
{
  const uint32_t m = std::min(weight, 255u);
  const bool copiesOpaque = m == 255 && (method == EBlend::Default || method == EBlend::SrcOver);
  for (int i = 0; i < n;)
  {
    // Runs of opaque pixels at full weight are copied as they are.
    int end = i;
    while (copiesOpaque && end < n && src[end] >= 0xFF000000u)
      ++end;
    if (end > i)
    {
      std::memcpy(dst + i, src + i, static_cast<size_t>(end - i) * sizeof(uint32_t));
      i = end;
      continue;
    }
    // Transparent source pixels change nothing but under Clobber, the common case in glows.
    if (src[i] != 0 || method == EBlend::Clobber)
      dst[i] = Combine(dst[i], src[i], m, method);
    ++i;
  }
}

void CompositeCoverageRow(uint32_t* dst, const uint32_t* coverage, int n, uint32_t color,
                          EBlend method)
{
  for (int i = 0; i < n; ++i)
  {
    const uint32_t m = Channel(coverage[i], 24);
    if (m != 0)
      dst[i] = Combine(dst[i], color, m, method);
  }
}

unsigned WeightByte(float weight)
{
  if (!(weight > 0.f))
    return 0;
  return static_cast<unsigned>(std::lround(std::min(weight, 1.f) * 255.f));
}

uint32_t PremultipliedColor(const IColor& color, float weight)
{
  const auto byte = [](int v) { return static_cast<uint32_t>(std::clamp(v, 0, 255)); };
  const uint32_t a = Mul(byte(color.A), WeightByte(weight));
  return a << 24 | Mul(byte(color.R), a) << 16 | Mul(byte(color.G), a) << 8 | Mul(byte(color.B), a);
}

} // namespace iplug::igraphics
