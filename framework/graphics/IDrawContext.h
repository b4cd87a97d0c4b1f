#pragma once

#include "framework/graphics/APIBitmap.h"
#include "framework/graphics/APIFont.h"
#include "framework/graphics/IBlend.h"
#include "framework/graphics/IColor.h"
#include "framework/graphics/IRECT.h"
#include "framework/graphics/IText.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>

namespace iplug::igraphics
{

// A rectangle of whole pixels of the backing image.
struct PixelRect
{
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;

  bool Empty() const { return w <= 0 || h <= 0; }
  PixelRect Intersect(const PixelRect& other) const
  {
    const int left = std::max(x, other.x);
    const int top = std::max(y, other.y);
    const int right = std::min(x + w, other.x + other.w);
    const int bottom = std::min(y + h, other.y + other.h);
    if (right <= left || bottom <= top)
      return {};
    return {left, top, right - left, bottom - top};
  }
  // The smallest rectangle holding both; an empty one adds nothing.
  PixelRect Union(const PixelRect& other) const
  {
    if (Empty())
      return other;
    if (other.Empty())
      return *this;
    const int left = std::min(x, other.x);
    const int top = std::min(y, other.y);
    const int right = std::max(x + w, other.x + other.w);
    const int bottom = std::max(y + h, other.y + other.h);
    return {left, top, right - left, bottom - top};
  }
  bool operator==(const PixelRect&) const = default;
};

// Read access to the backing image: rows of 32-bit pixels 0x00RRGGBB in native byte order.
struct PixelView
{
  const unsigned char* data = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;

  uint32_t At(int x, int y) const
  {
    return *reinterpret_cast<const uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride +
                                              static_cast<ptrdiff_t>(x) * 4) &
           0xFFFFFFu;
  }
};

// The drawing back end of the editor: an opaque backing image of the whole editor and the few
// operations the controls draw with, in logical units that the back end maps to pixels by one
// scale factor. Images and fonts are decoded by the back end that draws them. Kept free of any
// library's types so that another back end can stand beside the cairo one.
class IDrawContext
{
public:
  virtual ~IDrawContext() = default;

  // Replaces the backing image by a black one of the given pixel size, drawn at `scale` pixels
  // per logical unit. False (and no image) when it cannot be made.
  virtual bool SetSize(int pixelWidth, int pixelHeight, float scale) = 0;

  // A frame: drawing is confined to `region`, which is cleared to black first.
  virtual void BeginFrame(const PixelRect& region) = 0;
  // Within a frame, confines drawing to `clip` (which should lie inside the frame's region).
  virtual void SetClip(const PixelRect& clip) = 0;
  virtual void EndFrame() = 0;

  virtual void DrawBitmap(const APIBitmap& bitmap, const IRECT& dest, float srcX, float srcY,
                          const IBlend& blend) = 0;
  virtual void DrawLine(const IColor& color, float x1, float y1, float x2, float y2,
                        const IBlend& blend, float thickness) = 0;
  virtual void FillTriangle(const IColor& color, float x1, float y1, float x2, float y2, float x3,
                            float y3, const IBlend& blend) = 0;
  virtual void FillRoundRect(const IColor& color, const IRECT& bounds, float cornerRadius,
                             const IBlend& blend) = 0;
  virtual void DrawRoundRect(const IColor& color, const IRECT& bounds, float cornerRadius,
                             const IBlend& blend, float thickness) = 0;
  virtual void DrawText(const APIFont& font, const IText& text, const char* str,
                        const IRECT& bounds, const IBlend& blend) = 0;
  // How far the text advances when drawn in the style's font and size, in logical units.
  virtual float MeasureText(const APIFont& font, const IText& text, const char* str) = 0;

  // nullptr when the bytes are no image the back end can decode.
  virtual std::unique_ptr<APIBitmap> DecodePNG(std::span<const unsigned char> bytes) = 0;
  // A copy of `source` resampled to `targetScale` pixels per logical unit; nullptr on failure.
  virtual std::unique_ptr<APIBitmap> ScaleBitmap(const APIBitmap& source, int targetScale) = 0;
  // nullptr when the bytes are no font the back end can load.
  virtual std::unique_ptr<APIFont> LoadFont(std::span<const unsigned char> bytes) = 0;

  virtual PixelView Pixels() = 0;
  virtual bool WritePNG(const char* path) = 0;
};

std::unique_ptr<IDrawContext> MakeDrawContext();

} // namespace iplug::igraphics
