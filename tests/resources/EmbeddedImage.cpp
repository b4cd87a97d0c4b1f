#include "tests/resources/EmbeddedImage.h"

#include <cstring>

namespace velmora::test
{
namespace
{

struct ReadCursor
{
  std::span<const unsigned char> bytes;
  std::size_t offset = 0;
};

cairo_status_t ReadChunk(void* closure, unsigned char* data, unsigned int length)
{
  auto* cursor = static_cast<ReadCursor*>(closure);
  if (cursor->bytes.size() - cursor->offset < length)
    return CAIRO_STATUS_READ_ERROR;
  std::memcpy(data, cursor->bytes.data() + cursor->offset, length);
  cursor->offset += length;
  return CAIRO_STATUS_SUCCESS;
}

} // namespace

std::span<const unsigned char> ResourceBytes(std::string_view name)
{
  for (const iplug::igraphics::ResourceEntry& entry : iplug::igraphics::ModuleResources())
  {
    if (entry.name == name)
      return entry.bytes;
  }
  return {};
}

EmbeddedImage::EmbeddedImage(std::span<const unsigned char> png)
{
  ReadCursor cursor{png};
  mSurface.reset(cairo_image_surface_create_from_png_stream(ReadChunk, &cursor));
}

bool EmbeddedImage::Valid() const
{
  return cairo_surface_status(mSurface.get()) == CAIRO_STATUS_SUCCESS;
}

int EmbeddedImage::Width() const
{
  return cairo_image_surface_get_width(mSurface.get());
}

int EmbeddedImage::Height() const
{
  return cairo_image_surface_get_height(mSurface.get());
}

cairo_format_t EmbeddedImage::Format() const
{
  return cairo_image_surface_get_format(mSurface.get());
}

EmbeddedImage::Pixel EmbeddedImage::At(int x, int y) const
{
  const unsigned char* row =
      cairo_image_surface_get_data(mSurface.get()) +
      static_cast<std::ptrdiff_t>(y) * cairo_image_surface_get_stride(mSurface.get());
  std::uint32_t p = 0;
  std::memcpy(&p, row + 4 * x, sizeof p);
  const int a = Format() == CAIRO_FORMAT_ARGB32 ? static_cast<int>(p >> 24) : 255;
  auto channel = [&](int shift)
  {
    const int v = static_cast<int>((p >> shift) & 0xFF);
    return a == 0 ? 0 : (v * 255 + a / 2) / a;
  };
  return {a, channel(16), channel(8), channel(0)};
}

} // namespace velmora::test
