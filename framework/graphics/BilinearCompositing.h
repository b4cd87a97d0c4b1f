#pragma once

#include "framework/graphics/IBlend.h"
#include "framework/graphics/IDrawContext.h"

#include <cstdint>

namespace iplug::igraphics
{

// Premultiplied 0xAARRGGBB pixels, row after row.
struct PremultipliedImage
{
  const uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
};

// Where a part of an image lands, in pixels of the target: the rectangle (left, top, right,
// bottom) shows the image from its pixel (srcLeft, srcTop) on, at `factor` target pixels per
// image pixel.
struct ImagePlacement
{
  double left;
  double top;
  double right;
  double bottom;
  double srcLeft;
  double srcTop;
  double factor;
};

// Composites the placed image into the target's pixels within `area`, sampled bilinearly at each
// pixel's centre (transparent beyond the image's edges) and masked by the weight times the
// share of the pixel that the rectangle covers, as cairo draws a scaled image clipped to a
// rectangle.
void CompositeResampled(uint32_t* target, int targetStride, const PixelRect& area,
                        const PremultipliedImage& image, const ImagePlacement& placement,
                        unsigned weight, EBlend method);

} // namespace iplug::igraphics
