#pragma once

#include "framework/graphics/IColor.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace iplug::igraphics
{

enum class EAlign
{
  Near,
  Center,
  Far
};

enum class EVAlign
{
  Top,
  Middle,
  Bottom
};

// A text style: font identifier, size in logical units, colour, alignment in the box it is drawn
// in, angle in degrees (clockwise, about the anchor point), and the colours a text-entry field
// would use. The font name is held inline so that styles copy without allocating.
struct IText
{
  static constexpr size_t kMaxFontName = 64;

  IText() = default;
  IText(float size, const IColor& color, std::string_view font = {}, EAlign align = EAlign::Center,
        EVAlign valign = EVAlign::Middle, float angle = 0.f,
        const IColor& entryBGColor = {255, 255, 255, 255}, const IColor& entryFGColor = {})
      : mSize(size), mFGColor(color), mAlign(align), mVAlign(valign), mAngle(angle),
        mTextEntryBGColor(entryBGColor), mTextEntryFGColor(entryFGColor)
  {
    SetFont(font);
  }

  // Names longer than the inline store are cut short (and then name no loaded font).
  void SetFont(std::string_view font)
  {
    const size_t n = std::min(font.size(), kMaxFontName - 1);
    std::copy_n(font.data(), n, mFont.data());
    mFont[n] = '\0';
  }
  std::string_view Font() const { return mFont.data(); }

  float mSize = 14.f;
  IColor mFGColor;
  EAlign mAlign = EAlign::Center;
  EVAlign mVAlign = EVAlign::Middle;
  float mAngle = 0.f;
  IColor mTextEntryBGColor{255, 255, 255, 255};
  IColor mTextEntryFGColor;
  std::array<char, kMaxFontName> mFont{};
};

} // namespace iplug::igraphics
