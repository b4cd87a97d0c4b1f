// Composites the generated images into a picture of the editor at a given scale, the way the
// editor puts them together (knobs at sample values, lit meters, the switch on, a bent curve):
//   velmora_art_preview [--idle] <image folder> <font.ttf> <output.png> [scale [x y w h]]
// where x y w h, in editor units, crop the picture to one area for a closer look, and --idle
// shows a fresh editor instead: knobs at their defaults, meters dark, the switch off.

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

struct Options
{
  bool idle = false;
  std::string folder;
  std::string font;
  std::string output;
  double scale = 1.0;
  Rect crop{0, 0, kPanelWidth, kPanelHeight};
};

Options Parse(int argc, char** argv)
{
  Options o;
  int first = 1;
  if (argc > 1 && std::string(argv[1]) == "--idle")
  {
    o.idle = true;
    ++first;
  }
  const int n = argc - first;
  if (n != 3 && n != 4 && n != 8)
    throw std::runtime_error("usage: velmora_art_preview [--idle] <image folder> <font.ttf> "
                             "<output.png> [scale [x y w h]]");
  o.folder = std::string(argv[first]) + "/";
  o.font = argv[first + 1];
  o.output = argv[first + 2];
  if (n >= 4)
    o.scale = std::atof(argv[first + 3]);
  if (n == 8)
  {
    const double x = std::atof(argv[first + 4]);
    const double y = std::atof(argv[first + 5]);
    o.crop = {x, y, x + std::atof(argv[first + 6]), y + std::atof(argv[first + 7])};
  }
  if (!(o.scale > 0.0 && o.scale <= 8.0))
    throw std::runtime_error("scale must be between 0 and 8");
  if (!(o.crop.right > o.crop.left && o.crop.bottom > o.crop.top))
    throw std::runtime_error("the crop must have a positive size");
  return o;
}

void Render(const Options& o)
{
  const Typeface typeface(o.font);
  const SurfacePtr background = LoadPng(o.folder + "vlm_bg_1_6b.png");
  const SurfacePtr large = LoadPng(o.folder + "x271_frame_stack_fixed_again.png");
  const SurfacePtr small = LoadPng(o.folder + "smallknob.png");
  const SurfacePtr glow = LoadPng(o.folder + "vlm_glow.png");
  const SurfacePtr red = LoadPng(o.folder + "vlm_glow_red.png");
  const SurfacePtr button = LoadPng(o.folder + "OS_alpha.png");

  Canvas editor(CAIRO_FORMAT_RGB24,
                static_cast<int>(std::ceil((o.crop.right - o.crop.left) * o.scale)),
                static_cast<int>(std::ceil((o.crop.bottom - o.crop.top) * o.scale)));
  cairo_t* cr = editor.Context();
  cairo_scale(cr, o.scale, o.scale);
  cairo_translate(cr, -o.crop.left, -o.crop.top);
  Blit(cr, background.get(), 0, 0, kPanelWidth, kPanelHeight, 0, 0);

  // Normalized knob values in the order of the knob table: a session's settings, or defaults.
  constexpr std::array<double, 11> kSession{0.62, 0.5, 0.3, 0.5, 0.45, 0.56,
                                            0.25, 0.0, 0.4, 0.5, 0.85};
  constexpr std::array<double, 11> kDefaults{1.0, 0.5, 0.0, 0.5, 0.0, 0.5, 0.0, 0.0, 0.0, 0.5, 1.0};
  const std::array<double, 11>& values = o.idle ? kDefaults : kSession;
  for (std::size_t i = 0; i < kKnobs.size(); ++i)
  {
    const KnobPlace& knob = kKnobs[i];
    const int frame = static_cast<int>((kStripFrames - 1) * values[i] + 0.5);
    Blit(cr, knob.size == kLargeKnobSize ? large.get() : small.get(),
         (frame % kStripColumns) * knob.size, (frame / kStripColumns) * knob.size, knob.size,
         knob.size, knob.x, knob.y);
  }
  Blit(cr, button.get(), 0, o.idle ? 0 : kSwitchSize, kSwitchSize, kSwitchSize, kSwitchX, kSwitchY);
  PaintCurve(cr);

  constexpr std::array<int, 4> kLit{11, 9, 14, 16};
  for (std::size_t m = 0; m < kLedTables.size() && !o.idle; ++m)
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
                (kVersionArea.top + kVersionArea.bottom + text.CapHeight(version)) / 2.0, version);
  editor.WritePng(o.output);
}

} // namespace

int main(int argc, char** argv)
{
  try
  {
    Render(Parse(argc, argv));
  }
  catch (const std::exception& e)
  {
    std::fprintf(stderr, "velmora_art_preview: %s\n", e.what());
    return 1;
  }
  return 0;
}
