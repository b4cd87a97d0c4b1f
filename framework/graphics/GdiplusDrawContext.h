#pragma once

#include "framework/graphics/DibSection.h"
#include "framework/graphics/GdiplusSession.h"
#include "framework/graphics/IDrawContext.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Gdiplus
{
class Bitmap;
class Graphics;
} // namespace Gdiplus

namespace iplug::igraphics
{

// The drawing back end on GDI+, for Windows. The backing image is a 32-bit DIB section that a
// window can BitBlt from. GDI+ draws each shape and text in opaque white into a layer of the same
// size, within the pixels the shape touches, and that coverage carries the colour into the DIB
// with the blend's operator and weight (GDI+ has no additive mode), confined to the clip. Images
// are composited from their own pixels: copied at their own scale on whole pixels, sampled
// bilinearly otherwise, as cairo does. GDI+ also decodes and writes PNGs, loads the font from
// memory and resamples images for other scales (high-quality bicubic).
class GdiplusDrawContext final : public IDrawContext
{
public:
  GdiplusDrawContext();
  ~GdiplusDrawContext() override;

  bool SetSize(int pixelWidth, int pixelHeight, float scale) override;
  void BeginFrame(const PixelRect& region) override;
  void SetClip(const PixelRect& clip) override;
  // Every draw writes into the DIB at once: nothing is left to flush.
  void EndFrame() override {}

  void DrawBitmap(const APIBitmap& bitmap, const IRECT& dest, float srcX, float srcY,
                  const IBlend& blend) override;
  void DrawLine(const IColor& color, float x1, float y1, float x2, float y2, const IBlend& blend,
                float thickness) override;
  void FillTriangle(const IColor& color, float x1, float y1, float x2, float y2, float x3, float y3,
                    const IBlend& blend) override;
  void FillRoundRect(const IColor& color, const IRECT& bounds, float cornerRadius,
                     const IBlend& blend) override;
  void DrawRoundRect(const IColor& color, const IRECT& bounds, float cornerRadius,
                     const IBlend& blend, float thickness) override;
  float MeasureText(const APIFont& font, const IText& text, const char* str) override;
  void DrawText(const APIFont& font, const IText& text, const char* str, const IRECT& bounds,
                const IBlend& blend) override;

  std::unique_ptr<APIBitmap> DecodePNG(std::span<const unsigned char> bytes) override;
  std::unique_ptr<APIBitmap> ScaleBitmap(const APIBitmap& source, int targetScale) override;
  std::unique_ptr<APIFont> LoadFont(std::span<const unsigned char> bytes) override;

  PixelView Pixels() override;
  bool WritePNG(const char* path) override;

  // The backing image, for a window to select into a memory DC; null without one.
  HBITMAP Dib() const { return mDib ? mDib->Handle() : nullptr; }

private:
  // The pixels of the DIB that a rectangle in logical units touches, within the clip.
  PixelRect TouchedPixels(double left, double top, double right, double bottom) const;
  // `paint` draws in opaque white with GDI+, in logical units, into the layer within `area`
  // (cleared first); the coverage it leaves carries the colour into the DIB.
  template <typename Paint>
  void DrawCoverage(const PixelRect& area, const IColor& color, const IBlend& blend, Paint&& paint);

  std::shared_ptr<GdiplusSession> mSession;
  std::unique_ptr<DibSection> mDib;
  std::vector<uint32_t> mLayer;
  std::unique_ptr<Gdiplus::Bitmap> mLayerBitmap;
  std::unique_ptr<Gdiplus::Graphics> mLayerGraphics;
  float mScale = 1.f;
  PixelRect mClip;
};

} // namespace iplug::igraphics
