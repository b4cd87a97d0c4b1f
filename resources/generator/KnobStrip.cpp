#include "resources/generator/KnobStrip.h"

#include "resources/generator/Palette.h"
#include "resources/generator/PanelGeometry.h"
#include "resources/generator/Shapes.h"

#include <cmath>
#include <numbers>

namespace velmora::art
{
namespace
{

constexpr double kDegree = std::numbers::pi / 180.0;

// Proportions of the knob relative to its frame size, so both strips share one look.
struct KnobShape
{
  double centre;
  double body;
  double trackRadius;
  double trackWidth;
  double pointerWidth;

  explicit KnobShape(int size)
      : centre(size / 2.0), body(size * 0.32), trackRadius(size * 0.405), trackWidth(size * 0.036),
        pointerWidth(size * 0.046)
  {
  }
};

// Cairo measures angles from the x axis; the knob measures them clockwise from up.
double CairoAngle(double degreesFromUp)
{
  return (degreesFromUp - 90.0) * kDegree;
}

void PaintShadow(cairo_t* cr, const KnobShape& k)
{
  const double y = k.centre + k.centre * 0.06;
  PatternPtr shadow(cairo_pattern_create_radial(k.centre, y, k.body * 0.85, k.centre, y,
                                                k.body + k.centre * 0.17));
  cairo_pattern_add_color_stop_rgba(shadow.get(), 0.0, 0, 0, 0, 0.6);
  cairo_pattern_add_color_stop_rgba(shadow.get(), 0.45, 0, 0, 0, 0.25);
  cairo_pattern_add_color_stop_rgba(shadow.get(), 1.0, 0, 0, 0, 0.0);
  cairo_set_source(cr, shadow.get());
  FillCircle(cr, k.centre, y, k.body + k.centre * 0.17);
}

void PaintTrack(cairo_t* cr, const KnobShape& k)
{
  cairo_set_line_width(cr, k.trackWidth);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  cairo_set_source_rgba(cr, 0.0, 0.0, 0.0, 0.55);
  cairo_new_path(cr);
  cairo_arc(cr, k.centre, k.centre, k.trackRadius, CairoAngle(kKnobMinDegrees),
            CairoAngle(kKnobMinDegrees + kKnobSweepDegrees));
  cairo_stroke(cr);
}

void PaintBody(cairo_t* cr, const KnobShape& k)
{
  const double c = k.centre;
  const double r = k.body;

  // Dark rim, then the turned skirt lit from above.
  SetColour(cr, {9, 9, 11});
  FillCircle(cr, c, c, r);
  PatternPtr skirt(cairo_pattern_create_linear(0.0, c - r, 0.0, c + r));
  AddStop(skirt.get(), 0.0, {78, 80, 85});
  AddStop(skirt.get(), 0.5, {45, 47, 51});
  AddStop(skirt.get(), 1.0, {24, 25, 28});
  cairo_set_source(cr, skirt.get());
  FillCircle(cr, c, c, r - 0.9);

  // The flat top face, slightly darker at the top so it reads as a step down from the skirt.
  const double face = r * 0.78;
  SetColour(cr, {14, 14, 16}, 0.7);
  FillCircle(cr, c, c + 0.6, face + 0.6);
  PatternPtr top(cairo_pattern_create_linear(0.0, c - face, 0.0, c + face));
  AddStop(top.get(), 0.0, {40, 42, 46});
  AddStop(top.get(), 1.0, {50, 52, 56});
  cairo_set_source(cr, top.get());
  FillCircle(cr, c, c, face);

  // Soft light from the upper left.
  PatternPtr sheen(
      cairo_pattern_create_radial(c - r * 0.35, c - r * 0.45, 0.0, c - r * 0.35, c - r * 0.45, r));
  cairo_pattern_add_color_stop_rgba(sheen.get(), 0.0, 1, 1, 1, 0.09);
  cairo_pattern_add_color_stop_rgba(sheen.get(), 1.0, 1, 1, 1, 0.0);
  cairo_set_source(cr, sheen.get());
  FillCircle(cr, c, c, face);

  // A hairline catching the light on the upper edge of the face.
  PatternPtr edge(cairo_pattern_create_linear(0.0, c - face, 0.0, c + face));
  cairo_pattern_add_color_stop_rgba(edge.get(), 0.0, 1, 1, 1, 0.16);
  cairo_pattern_add_color_stop_rgba(edge.get(), 0.6, 1, 1, 1, 0.0);
  cairo_set_source(cr, edge.get());
  cairo_set_line_width(cr, 0.8);
  cairo_new_path(cr);
  cairo_arc(cr, c, c, face - 0.4, 0.0, 2.0 * std::numbers::pi);
  cairo_stroke(cr);
}

// Everything that does not turn: shadow, track and body, drawn once per strip.
Canvas PaintStill(int size)
{
  Canvas still(CAIRO_FORMAT_ARGB32, size, size);
  const KnobShape k(size);
  PaintShadow(still.Context(), k);
  PaintTrack(still.Context(), k);
  PaintBody(still.Context(), k);
  return still;
}

void PaintValueArc(cairo_t* cr, const KnobShape& k, double angle)
{
  if (angle <= kKnobMinDegrees)
    return;
  cairo_set_line_width(cr, k.trackWidth);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  SetColour(cr, kAccent);
  cairo_new_path(cr);
  cairo_arc(cr, k.centre, k.centre, k.trackRadius, CairoAngle(kKnobMinDegrees), CairoAngle(angle));
  cairo_stroke(cr);
}

void PaintPointer(cairo_t* cr, const KnobShape& k, double angle)
{
  const double s = std::sin(angle * kDegree);
  const double c = -std::cos(angle * kDegree);
  const double inner = k.body * 0.36;
  const double outer = k.body * 0.84;
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);

  // A faint dark groove under the line keeps it crisp against the lit part of the face.
  cairo_set_line_width(cr, k.pointerWidth + 1.2);
  cairo_set_source_rgba(cr, 0.0, 0.0, 0.0, 0.35);
  cairo_new_path(cr);
  cairo_move_to(cr, k.centre + inner * s, k.centre + inner * c + 0.4);
  cairo_line_to(cr, k.centre + outer * s, k.centre + outer * c + 0.4);
  cairo_stroke(cr);

  cairo_set_line_width(cr, k.pointerWidth);
  SetColour(cr, {238, 238, 232});
  cairo_new_path(cr);
  cairo_move_to(cr, k.centre + inner * s, k.centre + inner * c);
  cairo_line_to(cr, k.centre + outer * s, k.centre + outer * c);
  cairo_stroke(cr);
}

} // namespace

double KnobFrameAngle(int frame)
{
  return kKnobMinDegrees + kKnobSweepDegrees * frame / (kStripFrames - 1);
}

Canvas PaintKnobStrip(int frameSize)
{
  Canvas strip(CAIRO_FORMAT_ARGB32, frameSize * kStripColumns, frameSize * kStripRows);
  const Canvas still = PaintStill(frameSize);
  const KnobShape k(frameSize);
  cairo_t* cr = strip.Context();

  for (int frame = 0; frame < kStripFrames; ++frame)
  {
    const double angle = KnobFrameAngle(frame);
    cairo_save(cr);
    cairo_translate(cr, (frame % kStripColumns) * frameSize, (frame / kStripColumns) * frameSize);
    cairo_rectangle(cr, 0, 0, frameSize, frameSize);
    cairo_clip(cr);
    cairo_set_source_surface(cr, still.Surface(), 0, 0);
    cairo_paint(cr);
    PaintValueArc(cr, k, angle);
    PaintPointer(cr, k, angle);
    cairo_restore(cr);
  }
  return strip;
}

} // namespace velmora::art
