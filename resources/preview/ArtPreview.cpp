// Composites the generated images into a picture of the editor at a given scale, the way the
// editor puts them together (knobs at sample values, lit meters, the switch on, a bent curve):
//   velmora_art_preview <image folder> <font.ttf> <output.png> [scale [x y w h]]
// where x y w h, in editor units, crop the picture to one area for a closer look.

#include "resources/generator/Canvas.h"
#include "resources/generator/LetterSpacedText.h"
#include "resources/generator/Palette.h"
#include "resources/generator/PanelGeometry.h"
#include "resources/generator/Typeface.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <stdexcept>
#include <string>

namespace
{

using namespace velmora::art;

SurfacePtr LoadPng(const std::string& path)
{
  SurfacePtr image(cairo_image_surface_create_from_png(path.c_str()));
  if (cairo_surface_status(image.get()) != CAIRO_STATUS_SUCCESS)
    throw std::runtime_error("cannot read " + path);
  return image;
}

// Paints the part (sx, sy, w, h) of an image at (x, y), as a bitmap control does.
void Blit(cairo_t* cr, cairo_surface_t* image, double sx, double sy, double w, double h, double x,
          double y, cairo_operator_t op = CAIRO_OPERATOR_OVER, double alpha = 1.0)
{
  cairo_save(cr);
  cairo_rectangle(cr, x, y, w, h);
  cairo_clip(cr);
  cairo_set_operator(cr, op);
  cairo_set_source_surface(cr, image, x - sx, y - sy);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
  cairo_paint_with_alpha(cr, alpha);
  cairo_restore(cr);
}

void PaintCurve(cairo_t* cr)
{
  const Rect d = kCurveDisplay;
  cairo_save(cr);
  cairo_rectangle(cr, d.left, d.top, d.right - d.left, d.bottom - d.top);
  cairo_clip(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
  SetColour(cr, kAccent);
  cairo_set_line_width(cr, 1.5);
  for (int i = 0; i <= 171; ++i)
  {
    const double in = -1.0 + 2.0 * i / 171.0;
    const double out = std::tanh(1.8 * in) / std::tanh(1.8);
    const double x = d.left + (in + 1.0) / 2.0 * (d.right - d.left);
    const double y = d.bottom - (out * 0.8 + 1.0) / 2.0 * (d.bottom - d.top);
    i == 0 ? cairo_move_to(cr, x, y) : cairo_line_to(cr, x, y);
  }
  cairo_stroke(cr);
  cairo_restore(cr);
}

} // namespace

int main(int argc, char** argv)
{
  if (argc != 4 && argc != 5 && argc != 9)
  {
    std::fprintf(stderr, "usage: %s <image folder> <font.ttf> <output.png> [scale [x y w h]]\n",
                 argv[0]);
    return 2;
  }
  try
  {
    const std::string folder = std::string(argv[1]) + "/";
    const Typeface typeface(argv[2]);
    const double scale = argc >= 5 ? std::atof(argv[4]) : 1.0;
    if (!(scale > 0.0 && scale <= 8.0))
      throw std::runtime_error("scale must be between 0 and 8");
    Rect crop{0, 0, kPanelWidth, kPanelHeight};
    if (argc == 9)
    {
      crop = {std::atof(argv[5]), std::atof(argv[6]), std::atof(argv[5]) + std::atof(argv[7]),
              std::atof(argv[6]) + std::atof(argv[8])};
    }
    if (!(crop.right > crop.left && crop.bottom > crop.top))
      throw std::runtime_error("the crop must have a positive size");

    const SurfacePtr background = LoadPng(folder + "vlm_bg_1_6b.png");
    const SurfacePtr large = LoadPng(folder + "x271_frame_stack_fixed_again.png");
    const SurfacePtr small = LoadPng(folder + "smallknob.png");
    const SurfacePtr glow = LoadPng(folder + "vlm_glow.png");
    const SurfacePtr red = LoadPng(folder + "vlm_glow_red.png");
    const SurfacePtr button = LoadPng(folder + "OS_alpha.png");

    Canvas editor(CAIRO_FORMAT_RGB24, static_cast<int>(std::ceil((crop.right - crop.left) * scale)),
                  static_cast<int>(std::ceil((crop.bottom - crop.top) * scale)));
    cairo_t* cr = editor.Context();
    cairo_scale(cr, scale, scale);
    cairo_translate(cr, -crop.left, -crop.top);
    Blit(cr, background.get(), 0, 0, kPanelWidth, kPanelHeight, 0, 0);

    constexpr std::array<double, 11> kValues{0.62, 0.5, 0.3, 0.5, 0.45, 0.56,
                                             0.25, 0.0, 0.4, 0.5, 0.85};
    for (std::size_t i = 0; i < kKnobs.size(); ++i)
    {
      const KnobPlace& knob = kKnobs[i];
      const int frame = static_cast<int>((kStripFrames - 1) * kValues[i] + 0.5);
      Blit(cr, knob.size == kLargeKnobSize ? large.get() : small.get(),
           (frame % kStripColumns) * knob.size, (frame / kStripColumns) * knob.size, knob.size,
           knob.size, knob.x, knob.y);
    }
    Blit(cr, button.get(), 0, kSwitchSize, kSwitchSize, kSwitchSize, kSwitchX, kSwitchY);
    PaintCurve(cr);

    constexpr std::array<int, 4> kLit{11, 9, 14, 16};
    for (std::size_t m = 0; m < kLedTables.size(); ++m)
    {
      for (int i = 0; i < kLit[m]; ++i)
      {
        const Point p = kLedTables[m][i];
        Blit(cr, glow.get(), 0, 0, kLedSize, kLedSize, p.x, p.y, CAIRO_OPERATOR_ADD, 0.8);
      }
      if (kLit[m] == 16)
      {
        const Point p = kLedTables[m][15];
        Blit(cr, red.get(), 0, 0, kLedSize, kLedSize, p.x, p.y, CAIRO_OPERATOR_ADD, 0.8);
      }
    }

    const LetterSpacedText text(cr, typeface);
    const TextStyle version{13.0, 0.0, kAccent};
    const double width = text.Width("4.1.2", version);
    text.DrawLeft("4.1.2", kVersionArea.right - width,
                  (kVersionArea.top + kVersionArea.bottom + text.CapHeight(version)) / 2.0,
                  version);

    editor.WritePng(argv[3]);
  }
  catch (const std::exception& e)
  {
    std::fprintf(stderr, "velmora_art_preview: %s\n", e.what());
    return 1;
  }
  return 0;
}
