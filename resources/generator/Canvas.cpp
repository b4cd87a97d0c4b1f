#include "resources/generator/Canvas.h"

#include <cstdio>
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
  // Written aside and renamed, so an interrupted run never leaves a half file that a build
  // would take as up to date.
  const std::string partial = path + ".part";
  cairo_surface_flush(mSurface.get());
  if (cairo_surface_write_to_png(mSurface.get(), partial.c_str()) != CAIRO_STATUS_SUCCESS)
  {
    std::remove(partial.c_str());
    throw std::runtime_error("cannot write " + path);
  }
  if (std::rename(partial.c_str(), path.c_str()) != 0)
  {
    std::remove(partial.c_str());
    throw std::runtime_error("cannot write " + path);
  }
}

} // namespace velmora::art
