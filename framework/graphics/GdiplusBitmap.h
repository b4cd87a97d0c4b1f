#pragma once

#include "framework/graphics/APIBitmap.h"

#include <cstdint>
#include <vector>

namespace iplug::igraphics
{

// A decoded image for the GDI+ back end: premultiplied 0xAARRGGBB pixels, row after row. GDI+
// reads them in place whenever it resamples, and the back end composites them itself.
class GdiplusBitmap final : public APIBitmap
{
public:
  GdiplusBitmap(int width, int height, int scale, std::vector<uint32_t> pixels)
      : APIBitmap(width, height, scale), mPixels(std::move(pixels))
  {
  }

  const uint32_t* Row(int y) const { return mPixels.data() + static_cast<size_t>(y) * Width(); }
  uint32_t* Data() { return mPixels.data(); }
  const uint32_t* Data() const { return mPixels.data(); }
  int Stride() const { return Width() * 4; }

private:
  std::vector<uint32_t> mPixels;
};

} // namespace iplug::igraphics
