#pragma once

#include "framework/graphics/IBlend.h"
#include "framework/graphics/IColor.h"

#include <cstdint>

namespace iplug::igraphics
{

// Compositing of premultiplied 0xAARRGGBB pixels (a 32-bit DIB's and cairo's layout) into an
// opaque image, for the blends that a drawing library lacks. A draw is a source S masked by M
// (0..255), combined as cairo's operators combine them:
//   Default, SrcOver:  d = S*M + d*(1 - S.alpha*M)
//   Add:               d = min(d + S*M, 255)
//   Clobber:           d = S*M + d*(1 - M)
// Products are rounded as pixman rounds them, so that a copy at full weight is exact.

// One pixel: S with mask M.
uint32_t CompositePixel(uint32_t dst, uint32_t src, unsigned mask, EBlend method);

// S: a row of image pixels; M: the weight, the same for every pixel.
void CompositeImageRow(uint32_t* dst, const uint32_t* src, int n, unsigned weight, EBlend method);

// S: one colour (premultiplied, with its alpha times the weight); M: each pixel's coverage,
// read from the alpha of a row where the shape was painted in an opaque colour.
void CompositeCoverageRow(uint32_t* dst, const uint32_t* coverage, int n, uint32_t color,
                          EBlend method);

// The colour premultiplied, its alpha scaled by weight (0..1).
uint32_t PremultipliedColor(const IColor& color, float weight);

// Weight 0..1 as 0..255, rounded.
unsigned WeightByte(float weight);

} // namespace iplug::igraphics
