#include "resources/generator/PanelLegends.h"

#include "resources/generator/LetterSpacedText.h"
#include "resources/generator/Palette.h"
#include "resources/generator/PanelGeometry.h"

#include <cmath>
#include <numbers>

namespace velmora::art
{
namespace
{

constexpr int kTicks = 11;

// Tick radii relative to the knob's frame size: just outside the knob's own value ring.
struct ScaleShape
{
  double inner;
  double outer;
  double longOuter;
  double width;
};

ScaleShape ScaleFor(int size)
{
  return size == kLargeKnobSize ? ScaleShape{28.6, 31.4, 33.4, 1.1}
                                : ScaleShape{21.0, 23.4, 25.2, 1.0};
}

double CentreOf(int origin, int size)
{
  return origin + size / 2.0;
}

constexpr TextStyle kLargeLabel{10.0, 1.3, kLabel};
constexpr TextStyle kSmallLabel{9.0, 1.1, kLabel};
constexpr TextStyle kMeterLegend{8.0, 1.4, kMuted};
constexpr TextStyle kName{21.0, 8.0, kLabel};
constexpr TextStyle kMaker{7.5, 3.0, kMuted};

void PaintTitle(const LetterSpacedText& text)
{
  constexpr double kCentre = kPanelWidth / 2.0;
  text.DrawCentred("VELMORA", kCentre, 31.0, kName);
  text.DrawCentred("CORVANE AUDIO", kCentre, 44.5, kMaker);

  // Short rules either side of the maker's name.
  const double half = text.Width("CORVANE AUDIO", kMaker) / 2.0;
  const double y = std::floor(44.5 - text.CapHeight(kMaker) / 2.0) + 0.5;
  cairo_t* cr = text.Context();
  cairo_set_line_width(cr, 1.0);
  SetColour(cr, kMuted, 0.5);
  for (const double side : {-1.0, 1.0})
  {
    cairo_move_to(cr, kCentre + side * (half + 8.0), y);
    cairo_line_to(cr, kCentre + side * (half + 30.0), y);
    cairo_stroke(cr);
  }
  text.DrawCentred("SATURATION  \u00B7  SOFT CLIPPER", kCentre, kCurveDisplay.bottom + 22.0,
                   kMaker);
}

void PaintKnobLabels(const LetterSpacedText& text)
{
  for (const KnobPlace& knob : kKnobs)
  {
    const bool large = knob.size == kLargeKnobSize;
    const TextStyle& style = large ? kLargeLabel : kSmallLabel;
    const double baseline = knob.y + knob.size + (large ? 9.5 : 9.0);
    text.DrawCentred(knob.label, CentreOf(knob.x, knob.size), baseline, style);
  }
  text.DrawCentred("OVERSAMPLE", CentreOf(kSwitchX, kSwitchSize), kSwitchY + kSwitchSize + 9.0,
                   kSmallLabel);
}

// "IN" / "OUT" under the middle of each pair of arcs, and the channel letters past the top end
// of each arc (outer arc left channel, inner arc right channel).
void PaintMeterLegends(const LetterSpacedText& text)
{
  const double capHeight = text.CapHeight(kMeterLegend);
  const std::array<const char*, 2> names{"IN", "OUT"};
  for (int side = 0; side < 2; ++side)
  {
    const LedTable& outer = kLedTables[side * 2];
    const LedTable& inner = kLedTables[side * 2 + 1];
    const double middle = (inner[0].x + inner[15].x) / 2.0 + kLedSize / 2.0;
    text.DrawCentred(names[side], middle, inner[8].y + kLedSize + 12.0, kMeterLegend);

    const double direction = side == 0 ? 1.0 : -1.0;
    const double x = outer[15].x + kLedSize / 2.0 + direction * 13.0;
    text.DrawCentred("L", x, outer[15].y + kLedSize / 2.0 + capHeight / 2.0, kMeterLegend);
    text.DrawCentred("R", x, inner[15].y + kLedSize / 2.0 + capHeight / 2.0, kMeterLegend);
  }
}

} // namespace

void PaintKnobScales(cairo_t* cr)
{
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (const KnobPlace& knob : kKnobs)
  {
    const ScaleShape shape = ScaleFor(knob.size);
    const double cx = CentreOf(knob.x, knob.size);
    const double cy = CentreOf(knob.y, knob.size);
    cairo_set_line_width(cr, shape.width);
    for (int i = 0; i < kTicks; ++i)
    {
      const bool longTick = i == 0 || i == kTicks - 1 || (knob.bipolar && i == kTicks / 2);
      const double angle =
          (kKnobMinDegrees + kKnobSweepDegrees * i / (kTicks - 1)) * std::numbers::pi / 180.0;
      const double s = std::sin(angle);
      const double c = -std::cos(angle);
      const double outer = longTick ? shape.longOuter : shape.outer;
      SetColour(cr, kLabel, longTick ? 0.42 : 0.32);
      cairo_move_to(cr, cx + shape.inner * s, cy + shape.inner * c);
      cairo_line_to(cr, cx + outer * s, cy + outer * c);
      cairo_stroke(cr);
    }
  }
}

void PaintLegends(cairo_t* cr, const Typeface& typeface)
{
  const LetterSpacedText text(cr, typeface);
  PaintTitle(text);
  PaintKnobLabels(text);
  PaintMeterLegends(text);
}

} // namespace velmora::art
