#pragma once

#include <cairo.h>

#include <numbers>

namespace velmora::art
{

inline void CirclePath(cairo_t* cr, double x, double y, double r)
{
  cairo_new_sub_path(cr);
  cairo_arc(cr, x, y, r, 0.0, 2.0 * std::numbers::pi);
}

inline void FillCircle(cairo_t* cr, double x, double y, double r)
{
  cairo_new_path(cr);
  CirclePath(cr, x, y, r);
  cairo_fill(cr);
}

inline void RoundedRectPath(cairo_t* cr, double x, double y, double w, double h, double r)
{
  const double half = std::numbers::pi / 2.0;
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -half, 0.0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0.0, half);
  cairo_arc(cr, x + r, y + h - r, r, half, 2.0 * half);
  cairo_arc(cr, x + r, y + r, r, 2.0 * half, 3.0 * half);
  cairo_close_path(cr);
}

} // namespace velmora::art
