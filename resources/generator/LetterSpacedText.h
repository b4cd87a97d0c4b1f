#pragma once

#include "resources/generator/Palette.h"

#include <cairo.h>

#include <string_view>

namespace velmora::art
{

class Typeface;

struct TextStyle
{
  double size;     // em size in editor units
  double tracking; // extra space after each letter
  Rgb colour;
  double alpha = 1.0;
};

// Draws single lines of text with extra letter spacing (cairo has none of its own), unhinted
// and grey-scale anti-aliased so the result does not depend on the machine's font settings.
class LetterSpacedText
{
public:
  LetterSpacedText(cairo_t* cr, const Typeface& typeface);

  cairo_t* Context() const { return mContext; }

  double Width(std::string_view text, const TextStyle& style) const;
  // Height of a capital letter above the baseline.
  double CapHeight(const TextStyle& style) const;

  void DrawCentred(std::string_view text, double centreX, double baseline,
                   const TextStyle& style) const;
  void DrawLeft(std::string_view text, double left, double baseline, const TextStyle& style) const;

private:
  void Select(const TextStyle& style) const;

  cairo_t* mContext;
  const Typeface& mTypeface;
};

} // namespace velmora::art
