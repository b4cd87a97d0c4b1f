#pragma once

#include "framework/graphics/APIBitmap.h"
#include "framework/graphics/CairoHandles.h"

namespace iplug::igraphics
{

// A decoded image held as a cairo image surface.
class CairoBitmap final : public APIBitmap
{
public:
  CairoBitmap(CairoSurface surface, int scale)
      : APIBitmap(cairo_image_surface_get_width(surface.get()),
                  cairo_image_surface_get_height(surface.get()), scale),
        mSurface(std::move(surface))
  {
  }

  cairo_surface_t* Surface() const { return mSurface.get(); }

private:
  CairoSurface mSurface;
};

} // namespace iplug::igraphics
