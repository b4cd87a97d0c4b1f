#pragma once

#include <cairo.h>

namespace velmora::art
{

// A colour in 8-bit channels, the way the panel's colours are chosen.
struct Rgb
{
  int r;
  int g;
  int b;
};

inline constexpr Rgb kAccent{149, 219, 94};
inline constexpr Rgb kRed{235, 60, 50};
inline constexpr Rgb kPanelTop{37, 39, 42};
inline constexpr Rgb kPanelBottom{25, 26, 29};
inline constexpr Rgb kWellFill{14, 15, 16};
inline constexpr Rgb kLabel{225, 225, 220};
inline constexpr Rgb kMuted{128, 130, 132};
inline constexpr Rgb kTick{94, 96, 97};
inline constexpr Rgb kLedDome{28, 44, 24};
inline constexpr Rgb kLedRim{10, 16, 9};

inline void SetColour(cairo_t* cr, Rgb c, double alpha = 1.0)
{
  cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, alpha);
}

inline void AddStop(cairo_pattern_t* p, double offset, Rgb c, double alpha = 1.0)
{
  cairo_pattern_add_color_stop_rgba(p, offset, c.r / 255.0, c.g / 255.0, c.b / 255.0, alpha);
}

} // namespace velmora::art
