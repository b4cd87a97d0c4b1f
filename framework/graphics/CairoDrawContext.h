#pragma once

#include "framework/graphics/CairoHandles.h"
#include "framework/graphics/IDrawContext.h"

namespace iplug::igraphics
{

class FreeTypeLibrary;

// The drawing back end on cairo: an RGB image surface as the backing image, PNG decoding
// through cairo's PNG reader and fonts through FreeType.
class CairoDrawContext final : public IDrawContext
{
public:
  CairoDrawContext();
  ~CairoDrawContext() override;

  bool SetSize(int pixelWidth, int pixelHeight, float scale) override;
  void BeginFrame(const PixelRect& region) override;
  void SetClip(const PixelRect& clip) override;
  void EndFrame() override;

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
  void DrawText(const APIFont& font, const IText& text, const char* str, const IRECT& bounds,
                const IBlend& blend) override;
  float MeasureText(const APIFont& font, const IText& text, const char* str) override;

  std::unique_ptr<APIBitmap> DecodePNG(std::span<const unsigned char> bytes) override;
  std::unique_ptr<APIBitmap> ScaleBitmap(const APIBitmap& source, int targetScale) override;
  std::unique_ptr<APIFont> LoadFont(std::span<const unsigned char> bytes) override;

  PixelView Pixels() override;
  bool WritePNG(const char* path) override;

private:
  // Sets the colour source with the blend's operator and weight.
  void SetColorSource(const IColor& color, const IBlend& blend);
  void RoundRectPath(const IRECT& bounds, float cornerRadius);

  CairoSurface mSurface;
  CairoContext mContext;
  float mScale = 1.f;
  std::shared_ptr<FreeTypeLibrary> mFreeType;
};

} // namespace iplug::igraphics
