#pragma once

#include <cairo.h>

#include <memory>

namespace iplug::igraphics
{

struct CairoSurfaceRelease
{
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct CairoContextRelease
{
  void operator()(cairo_t* context) const { cairo_destroy(context); }
};
struct CairoFontFaceRelease
{
  void operator()(cairo_font_face_t* face) const { cairo_font_face_destroy(face); }
};

using CairoSurface = std::unique_ptr<cairo_surface_t, CairoSurfaceRelease>;
using CairoContext = std::unique_ptr<cairo_t, CairoContextRelease>;
using CairoFontFace = std::unique_ptr<cairo_font_face_t, CairoFontFaceRelease>;

} // namespace iplug::igraphics
