#include "resources/generator/Canvas.h"

#include <stdexcept>

namespace velmora::art
{

Canvas::Canvas(cairo_format_t format, int width, int height)
    : mWidth(width), mHeight(height), mSurface(cairo_image_surface_create(format, width, height)),
      mContext(cairo_create(mSurface.get()))
{
  if (cairo_surface_status(mSurface.get()) != CAIRO_STATUS_SUCCESS ||
      cairo_status(mContext.get()) != CAIRO_STATUS_SUCCESS)
  {
    throw std::runtime_error("cannot create a drawing surface");
  }
}

void Canvas::WritePng(const std::string& path) const
{
  cairo_surface_flush(mSurface.get());
  if (cairo_surface_write_to_png(mSurface.get(), path.c_str()) != CAIRO_STATUS_SUCCESS)
  {
    throw std::runtime_error("cannot write " + path);
  }
}

} // namespace velmora::art
