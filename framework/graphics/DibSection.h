#pragma once

#include "framework/graphics/GdiplusHeaders.h"

#include <cstdint>
#include <memory>

namespace iplug::igraphics
{

// A 32-bit top-down DIB section: premultiplied 0xAARRGGBB pixels that GDI+ and the back end
// draw into and that a window copies to the screen by selecting it into a memory DC and
// calling BitBlt.
class DibSection
{
public:
  // nullptr when Windows cannot make one of that size.
  static std::unique_ptr<DibSection> Create(int width, int height);
  ~DibSection();
  DibSection(const DibSection&) = delete;
  DibSection& operator=(const DibSection&) = delete;

  HBITMAP Handle() const { return mBitmap; }
  int Width() const { return mWidth; }
  int Height() const { return mHeight; }
  int Stride() const { return mWidth * 4; }
  uint32_t* Row(int y) const { return mBits + static_cast<ptrdiff_t>(y) * mWidth; }
  uint32_t* Bits() const { return mBits; }

private:
  DibSection(HBITMAP bitmap, uint32_t* bits, int width, int height)
      : mBitmap(bitmap), mBits(bits), mWidth(width), mHeight(height)
  {
  }

  HBITMAP mBitmap;
  uint32_t* mBits;
  int mWidth;
  int mHeight;
};

} // namespace iplug::igraphics
