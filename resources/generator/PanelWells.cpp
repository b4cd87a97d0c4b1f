#include "resources/generator/PanelWells.h"

#include "resources/generator/Canvas.h"
#include "resources/generator/Palette.h"
#include "resources/generator/PanelGeometry.h"
#include "resources/generator/Shapes.h"

namespace velmora::art
{
namespace
{

constexpr Rect kLeftMeterWell{20, 20, 182, 88};

// Mirrors a rectangle of the left half onto the right half, the way the LED tables mirror.
constexpr Rect Mirror(Rect r)
{
  constexpr double kAxis = 649.0;
  return {kAxis - r.right, r.top, kAxis - r.left, r.bottom};
}

void WellPath(cairo_t* cr, Rect r, double radius, double grow = 0.0)
{
  RoundedRectPath(cr, r.left - grow, r.top - grow, r.right - r.left + 2 * grow,
                  r.bottom - r.top + 2 * grow, radius + grow);
}

// A rounded recess: dark upper edge, a lit lower lip, and a soft shadow inside from above.
void PaintRecess(cairo_t* cr, Rect r, double radius, Rgb fill)
{
  cairo_new_path(cr);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.45);
  WellPath(cr, r, radius, 1.0);
  cairo_fill(cr);
  cairo_save(cr);
  cairo_translate(cr, 0, 1.0);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.055);
  WellPath(cr, r, radius, 1.0);
  cairo_fill(cr);
  cairo_restore(cr);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.45);
  WellPath(cr, r, radius, 0.5);
  cairo_fill(cr);

  SetColour(cr, fill);
  WellPath(cr, r, radius);
  cairo_fill(cr);

  cairo_save(cr);
  WellPath(cr, r, radius);
  cairo_clip(cr);
  cairo_translate(cr, 0, 1.5);
  for (double width : {7.0, 4.5, 2.5})
  {
    cairo_set_line_width(cr, width);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.16);
    WellPath(cr, r, radius);
    cairo_stroke(cr);
  }
  cairo_restore(cr);
}

void HairLine(cairo_t* cr, double x0, double y0, double x1, double y1)
{
  cairo_move_to(cr, x0, y0);
  cairo_line_to(cr, x1, y1);
  cairo_stroke(cr);
}

void PaintLedDome(cairo_t* cr, Point led)
{
  const double cx = led.x + kLedSize / 2.0;
  const double cy = led.y + kLedSize / 2.0;
  SetColour(cr, kLedRim);
  FillCircle(cr, cx, cy, 4.6);

  PatternPtr dome(cairo_pattern_create_radial(cx - 1.2, cy - 1.4, 0.0, cx, cy, 3.8));
  AddStop(dome.get(), 0.0, {46, 68, 40});
  AddStop(dome.get(), 0.55, kLedDome);
  AddStop(dome.get(), 1.0, {18, 29, 16});
  cairo_set_source(cr, dome.get());
  FillCircle(cr, cx, cy, 3.8);

  cairo_set_source_rgba(cr, 1, 1, 1, 0.10);
  FillCircle(cr, cx - 1.3, cy - 1.5, 1.1);
}

} // namespace

void PaintCurveDisplayWell(cairo_t* cr)
{
  const Rect d = kCurveDisplay;
  PaintRecess(cr, {d.left - 5, d.top - 5, d.right + 5, d.bottom + 5}, 6.0, {20, 21, 23});

  SetColour(cr, kWellFill);
  cairo_rectangle(cr, d.left, d.top, d.right - d.left, d.bottom - d.top);
  cairo_fill(cr);

  // Quarter grid and the identity line, faint enough to sit behind the curve.
  cairo_set_line_width(cr, 1.0);
  SetColour(cr, {30, 32, 34});
  const double w = d.right - d.left;
  const double h = d.bottom - d.top;
  for (int i = 1; i < 4; ++i)
  {
    const double x = d.left + static_cast<int>(w * i / 4) + 0.5;
    const double y = d.top + static_cast<int>(h * i / 4) + 0.5;
    HairLine(cr, x, d.top + 1, x, d.bottom - 1);
    HairLine(cr, d.left + 1, y, d.right - 1, y);
  }
  SetColour(cr, {40, 46, 38});
  HairLine(cr, d.left + 1, d.bottom - 1, d.right - 1, d.top + 1);

  SetColour(cr, {52, 55, 59});
  cairo_rectangle(cr, d.left + 0.5, d.top + 0.5, w - 1, h - 1);
  cairo_stroke(cr);
}

void PaintSwitchSocket(cairo_t* cr)
{
  constexpr double kInset = 2.0;
  constexpr double kSide = kSwitchSize - 2 * kInset;
  cairo_set_source_rgba(cr, 1, 1, 1, 0.05);
  RoundedRectPath(cr, kSwitchX + kInset - 0.5, kSwitchY + kInset + 0.5, kSide + 1, kSide + 1, 6.0);
  cairo_fill(cr);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.5);
  RoundedRectPath(cr, kSwitchX + kInset, kSwitchY + kInset, kSide, kSide, 5.5);
  cairo_fill(cr);
}

void PaintMeterWells(cairo_t* cr)
{
  PaintRecess(cr, kLeftMeterWell, 7.0, {20, 21, 23});
  PaintRecess(cr, Mirror(kLeftMeterWell), 7.0, {20, 21, 23});
  for (const LedTable& table : kLedTables)
    for (const Point led : table)
      PaintLedDome(cr, led);
}

} // namespace velmora::art
