#include "framework/graphics/DibSection.h"

namespace iplug::igraphics
{

std::unique_ptr<DibSection> DibSection::Create(int width, int height)
{
  if (width <= 0 || height <= 0 || width > 0x7FFFFFFF / 4 / height)
    return nullptr;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height; // rows from the top, as the image is drawn
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits)
  {
    if (bitmap)
      DeleteObject(bitmap);
    return nullptr;
  }
  return std::unique_ptr<DibSection>(
      new DibSection(bitmap, static_cast<uint32_t*>(bits), width, height));
}

DibSection::~DibSection()
{
  DeleteObject(mBitmap);
}

} // namespace iplug::igraphics
