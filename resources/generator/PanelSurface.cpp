#include "resources/generator/PanelSurface.h"

#include "resources/generator/NoiseSource.h"
#include "resources/generator/Palette.h"
#include "resources/generator/PanelGeometry.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace velmora::art
{

void PaintPanelBase(cairo_t* cr)
{
  PatternPtr base(cairo_pattern_create_linear(0, 0, 0, kPanelHeight));
  AddStop(base.get(), 0.0, kPanelTop);
  AddStop(base.get(), 1.0, kPanelBottom);
  cairo_set_source(cr, base.get());
  cairo_paint(cr);

  // Corners fall off slightly, which keeps the eye in the middle.
  const double cx = kPanelWidth / 2.0;
  const double cy = kPanelHeight * 0.4;
  PatternPtr edges(
      cairo_pattern_create_radial(cx, cy, kPanelHeight * 0.45, cx, cy, kPanelWidth * 0.62));
  cairo_pattern_add_color_stop_rgba(edges.get(), 0.0, 0, 0, 0, 0.0);
  cairo_pattern_add_color_stop_rgba(edges.get(), 1.0, 0, 0, 0, 0.22);
  cairo_set_source(cr, edges.get());
  cairo_paint(cr);

  cairo_set_line_width(cr, 1.0);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.10);
  cairo_move_to(cr, 0, 0.5);
  cairo_line_to(cr, kPanelWidth, 0.5);
  cairo_stroke(cr);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.035);
  cairo_move_to(cr, 0, 1.5);
  cairo_line_to(cr, kPanelWidth, 1.5);
  cairo_stroke(cr);
  // Engraved rules under the meter windows, stopping short of the curve display.
  constexpr double kRuleY = 106.5;
  constexpr double kGap = 14.0;
  for (const auto& [from, to] : {std::pair{16.0, kCurveDisplay.left - kGap},
                                 std::pair{kCurveDisplay.right + kGap, kPanelWidth - 16.0}})
  {
    cairo_set_source_rgba(cr, 0, 0, 0, 0.45);
    cairo_move_to(cr, from, kRuleY);
    cairo_line_to(cr, to, kRuleY);
    cairo_stroke(cr);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.05);
    cairo_move_to(cr, from, kRuleY + 1.0);
    cairo_line_to(cr, to, kRuleY + 1.0);
    cairo_stroke(cr);
  }

  cairo_set_source_rgba(cr, 0, 0, 0, 0.55);
  cairo_move_to(cr, 0, kPanelHeight - 0.5);
  cairo_line_to(cr, kPanelWidth, kPanelHeight - 0.5);
  cairo_stroke(cr);
}

void AddPanelGrain(const Canvas& panel)
{
  cairo_surface_t* surface = panel.Surface();
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  NoiseSource noise(0x5645'4C4D'4F52'4131ULL);

  for (int y = 0; y < panel.Height(); ++y)
  {
    auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    for (int x = 0; x < panel.Width(); ++x)
    {
      // Grey grain: the same offset on all three channels.
      constexpr int kSteps[4] = {-1, 0, 0, 1};
      const int step = kSteps[noise.Next() >> 62];
      const std::uint32_t p = row[x];
      auto channel = [&](int shift)
      {
        const int v = static_cast<int>((p >> shift) & 0xFF) + step;
        return static_cast<std::uint32_t>(std::clamp(v, 0, 255)) << shift;
      };
      row[x] = 0xFF000000u | channel(16) | channel(8) | channel(0);
    }
  }
  cairo_surface_mark_dirty(surface);
}

} // namespace velmora::art
