#include "resources/generator/SwitchButton.h"

#include "resources/generator/LetterSpacedText.h"
#include "resources/generator/Palette.h"
#include "resources/generator/PanelGeometry.h"
#include "resources/generator/Shapes.h"

namespace velmora::art
{
namespace
{

void PaintButton(cairo_t* cr, const LetterSpacedText& text, bool on)
{
  constexpr double kInset = 3.5;
  constexpr double kSide = kSwitchSize - 2.0 * kInset;
  constexpr double kRadius = 4.0;

  // Soft shadow below the cap, kept inside the frame.
  for (int i = 3; i >= 1; --i)
  {
    cairo_set_source_rgba(cr, 0, 0, 0, 0.16);
    RoundedRectPath(cr, kInset - i * 0.8, kInset - i * 0.5 + 1.0, kSide + i * 1.6, kSide + i * 1.0,
                    kRadius + i * 0.8);
    cairo_fill(cr);
  }

  SetColour(cr, {9, 9, 11});
  RoundedRectPath(cr, kInset, kInset, kSide, kSide, kRadius);
  cairo_fill(cr);

  PatternPtr cap(cairo_pattern_create_linear(0, kInset, 0, kInset + kSide));
  AddStop(cap.get(), 0.0, on ? Rgb{62, 64, 68} : Rgb{70, 72, 77});
  AddStop(cap.get(), 1.0, on ? Rgb{34, 35, 38} : Rgb{30, 31, 34});
  cairo_set_source(cr, cap.get());
  RoundedRectPath(cr, kInset + 0.9, kInset + 0.9, kSide - 1.8, kSide - 1.8, kRadius - 0.9);
  cairo_fill(cr);

  // Top-edge highlight.
  cairo_set_source_rgba(cr, 1, 1, 1, 0.10);
  cairo_set_line_width(cr, 0.8);
  cairo_move_to(cr, kInset + kRadius, kInset + 1.4);
  cairo_line_to(cr, kInset + kSide - kRadius, kInset + 1.4);
  cairo_stroke(cr);

  // The indicator: a short bar near the top of the cap.
  const double barY = kInset + 6.0;
  const double barLeft = kInset + 5.5;
  const double barRight = kInset + kSide - 5.5;
  if (on)
  {
    PatternPtr halo(
        cairo_pattern_create_radial(kSwitchSize / 2.0, barY, 0.0, kSwitchSize / 2.0, barY, 8.0));
    AddStop(halo.get(), 0.0, kAccent, 0.45);
    AddStop(halo.get(), 1.0, kAccent, 0.0);
    cairo_set_source(cr, halo.get());
    RoundedRectPath(cr, kInset + 1.0, kInset + 1.0, kSide - 2.0, kSide - 2.0, kRadius - 1.0);
    cairo_fill(cr);
  }
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_width(cr, 3.0);
  SetColour(cr, {8, 10, 8});
  cairo_move_to(cr, barLeft, barY);
  cairo_line_to(cr, barRight, barY);
  cairo_stroke(cr);
  cairo_set_line_width(cr, 2.0);
  SetColour(cr, on ? Rgb{190, 240, 150} : kLedDome);
  cairo_move_to(cr, barLeft, barY);
  cairo_line_to(cr, barRight, barY);
  cairo_stroke(cr);

  const TextStyle legend{7.0, 0.4, on ? kLabel : kMuted};
  text.DrawCentred("4x", kSwitchSize / 2.0, kInset + kSide - 4.5, legend);
}

} // namespace

Canvas PaintSwitchButton(const Typeface& typeface)
{
  Canvas button(CAIRO_FORMAT_ARGB32, kSwitchSize, 2 * kSwitchSize);
  cairo_t* cr = button.Context();
  const LetterSpacedText text(cr, typeface);
  for (int state = 0; state < 2; ++state)
  {
    cairo_save(cr);
    cairo_translate(cr, 0, state * kSwitchSize);
    cairo_rectangle(cr, 0, 0, kSwitchSize, kSwitchSize);
    cairo_clip(cr);
    PaintButton(cr, text, state == 1);
    cairo_restore(cr);
  }
  return button;
}

} // namespace velmora::art
