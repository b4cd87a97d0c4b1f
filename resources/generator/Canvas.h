#pragma once

#include <cairo.h>

#include <memory>
#include <string>

namespace velmora::art
{

struct SurfaceDeleter
{
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct ContextDeleter
{
  void operator()(cairo_t* c) const { cairo_destroy(c); }
};
struct PatternDeleter
{
  void operator()(cairo_pattern_t* p) const { cairo_pattern_destroy(p); }
};

using SurfacePtr = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;
using ContextPtr = std::unique_ptr<cairo_t, ContextDeleter>;
using PatternPtr = std::unique_ptr<cairo_pattern_t, PatternDeleter>;

// An image surface with its drawing context. RGB24 surfaces are written as PNG without alpha,
// ARGB32 surfaces with alpha.
class Canvas
{
public:
  Canvas(cairo_format_t format, int width, int height);

  cairo_t* Context() const { return mContext.get(); }
  cairo_surface_t* Surface() const { return mSurface.get(); }
  int Width() const { return mWidth; }
  int Height() const { return mHeight; }

  // Flushes pending drawing and writes the PNG; throws std::runtime_error on failure.
  void WritePng(const std::string& path) const;

private:
  int mWidth;
  int mHeight;
  SurfacePtr mSurface;
  ContextPtr mContext;
};

} // namespace velmora::art
