#include "resources/generator/LetterSpacedText.h"

#include "resources/generator/Typeface.h"

#include <memory>
#include <stdexcept>

namespace velmora::art
{
namespace
{

struct GlyphRun
{
  struct Deleter
  {
    void operator()(cairo_glyph_t* g) const { cairo_glyph_free(g); }
  };
  std::unique_ptr<cairo_glyph_t, Deleter> glyphs;
  int count = 0;
  double width = 0.0;
};

// Shapes the text at the origin and spreads the letters by the style's tracking.
GlyphRun Shape(cairo_t* cr, std::string_view text, const TextStyle& style)
{
  GlyphRun run;
  cairo_glyph_t* glyphs = nullptr;
  cairo_scaled_font_t* font = cairo_get_scaled_font(cr);
  if (cairo_scaled_font_text_to_glyphs(font, 0.0, 0.0, text.data(), static_cast<int>(text.size()),
                                       &glyphs, &run.count, nullptr, nullptr,
                                       nullptr) != CAIRO_STATUS_SUCCESS)
  {
    throw std::runtime_error("cannot shape text");
  }
  run.glyphs.reset(glyphs);
  if (run.count == 0)
    return run;

  for (int i = 0; i < run.count; ++i)
    glyphs[i].x += style.tracking * i;
  cairo_text_extents_t last{};
  cairo_scaled_font_glyph_extents(font, &glyphs[run.count - 1], 1, &last);
  run.width = glyphs[run.count - 1].x + last.x_advance;
  return run;
}

void Place(cairo_t* cr, const GlyphRun& run, double left, double baseline)
{
  cairo_save(cr);
  cairo_translate(cr, left, baseline);
  cairo_show_glyphs(cr, run.glyphs.get(), run.count);
  cairo_restore(cr);
}

} // namespace

LetterSpacedText::LetterSpacedText(cairo_t* cr, const Typeface& typeface)
    : mContext(cr), mTypeface(typeface)
{
}

void LetterSpacedText::Select(const TextStyle& style) const
{
  cairo_set_font_face(mContext, mTypeface.Face());
  cairo_set_font_size(mContext, style.size);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(mContext, options);
  cairo_font_options_destroy(options);
  SetColour(mContext, style.colour, style.alpha);
}

double LetterSpacedText::Width(std::string_view text, const TextStyle& style) const
{
  Select(style);
  return Shape(mContext, text, style).width;
}

double LetterSpacedText::CapHeight(const TextStyle& style) const
{
  Select(style);
  cairo_text_extents_t extents{};
  cairo_text_extents(mContext, "H", &extents);
  return -extents.y_bearing;
}

void LetterSpacedText::DrawCentred(std::string_view text, double centreX, double baseline,
                                   const TextStyle& style) const
{
  Select(style);
  const GlyphRun run = Shape(mContext, text, style);
  Place(mContext, run, centreX - run.width / 2.0, baseline);
}

void LetterSpacedText::DrawLeft(std::string_view text, double left, double baseline,
                                const TextStyle& style) const
{
  Select(style);
  Place(mContext, Shape(mContext, text, style), left, baseline);
}

} // namespace velmora::art
