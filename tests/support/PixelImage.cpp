#include "tests/support/PixelImage.h"

#include <cairo.h>

#include <algorithm>

namespace velmora::test
{

PixelImage ReadPng(const std::filesystem::path& path)
{
  PixelImage image;
  cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
  if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS)
  {
    cairo_surface_flush(surface);
    image.width = cairo_image_surface_get_width(surface);
    image.height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    for (int y = 0; y < image.height; ++y)
    {
      const auto* row = reinterpret_cast<const uint32_t*>(data + y * stride);
      for (int x = 0; x < image.width; ++x)
        image.rgb.push_back(row[x] & 0xFFFFFFu);
    }
  }
  cairo_surface_destroy(surface);
  return image;
}

size_t DifferingPixels(const PixelImage& a, const PixelImage& b)
{
  if (a.width != b.width || a.height != b.height)
    return std::max(a.rgb.size(), b.rgb.size());
  size_t differing = 0;
  for (size_t i = 0; i < a.rgb.size(); ++i)
    differing += a.rgb[i] != b.rgb[i];
  return differing;
}

} // namespace velmora::test
