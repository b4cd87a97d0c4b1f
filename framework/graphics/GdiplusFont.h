#pragma once

#include "framework/graphics/APIFont.h"
#include "framework/graphics/GdiplusSession.h"

#include <memory>
#include <span>
#include <vector>

namespace Gdiplus
{
class FontFamily;
class PrivateFontCollection;
} // namespace Gdiplus

namespace iplug::igraphics
{

// A TrueType face loaded from memory into a GDI+ private font collection, with the vertical
// metrics that place its baseline (per em: the font's horizontal-header ascender and descender,
// which FreeType uses too, so text sits where the cairo back end puts it).
class GdiplusFont final : public APIFont
{
public:
  // nullptr when GDI+ cannot read the bytes as a font.
  static std::unique_ptr<GdiplusFont> Load(std::span<const unsigned char> bytes,
                                           std::shared_ptr<GdiplusSession> session);
  ~GdiplusFont() override;

  const Gdiplus::FontFamily& Family() const { return *mFamily; }
  float Ascent() const { return mAscent; }
  float Descent() const { return mDescent; }
  // How far GDI+ puts the baseline below the point it draws a string at, per em.
  float CellAscent() const { return mCellAscent; }

private:
  GdiplusFont() = default;

  std::shared_ptr<GdiplusSession> mSession;
  std::vector<unsigned char> mBytes;
  std::unique_ptr<Gdiplus::PrivateFontCollection> mCollection;
  std::unique_ptr<Gdiplus::FontFamily> mFamily;
  float mAscent = 0.f;
  float mDescent = 0.f;
  float mCellAscent = 0.f;
};

} // namespace iplug::igraphics
