#pragma once

#include "framework/graphics/ResourceEntry.h"

#include <cairo.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

namespace velmora::test
{

// The bytes of the module's resource of that exact name; empty when there is none.
std::span<const unsigned char> ResourceBytes(std::string_view name);

// A PNG decoded from memory into a cairo image surface (premultiplied ARGB32 or RGB24).
class EmbeddedImage
{
public:
  explicit EmbeddedImage(std::span<const unsigned char> png);

  bool Valid() const;
  int Width() const;
  int Height() const;
  cairo_format_t Format() const;

  struct Pixel
  {
    int a, r, g, b; // un-premultiplied
  };
  Pixel At(int x, int y) const;

private:
  struct Deleter
  {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
  };
  std::unique_ptr<cairo_surface_t, Deleter> mSurface;
};

} // namespace velmora::test
