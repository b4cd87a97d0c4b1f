#include "resources/generator/LedGlow.h"

#include "resources/generator/PanelGeometry.h"

#include <numbers>

namespace velmora::art
{
namespace
{

Rgb Scale(Rgb c, double k)
{
  return {static_cast<int>(c.r * k), static_cast<int>(c.g * k), static_cast<int>(c.b * k)};
}

} // namespace

Canvas PaintLedGlow(Rgb core, Rgb colour)
{
  Canvas led(CAIRO_FORMAT_RGB24, kLedSize, kLedSize);
  cairo_t* cr = led.Context();
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_paint(cr);

  const double c = kLedSize / 2.0;
  PatternPtr glow(cairo_pattern_create_radial(c, c, 0.0, c, c, c));
  AddStop(glow.get(), 0.0, core);
  AddStop(glow.get(), 0.12, core);
  AddStop(glow.get(), 0.34, colour);
  AddStop(glow.get(), 0.52, Scale(colour, 0.32));
  AddStop(glow.get(), 0.75, Scale(colour, 0.07));
  AddStop(glow.get(), 1.0, {0, 0, 0});
  cairo_set_source(cr, glow.get());
  cairo_arc(cr, c, c, c, 0.0, 2.0 * std::numbers::pi);
  cairo_fill(cr);
  return led;
}

} // namespace velmora::art
