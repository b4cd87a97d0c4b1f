#include "framework/graphics/IGraphics.h"

#include <algorithm>
#include <cmath>

namespace iplug::igraphics
{

namespace
{

const IBlend kDefaultBlend{};

const IBlend& Or(const IBlend* blend)
{
  return blend ? *blend : kDefaultBlend;
}

} // namespace

void IGraphics::DrawBitmap(const IBitmap& bitmap, const IRECT& dest, int srcX, int srcY,
                           const IBlend* blend)
{
  if (const APIBitmap* image = bitmap.GetAPIBitmap())
    mDrawContext->DrawBitmap(*image, dest, static_cast<float>(srcX), static_cast<float>(srcY),
                             Or(blend));
}

void IGraphics::DrawBitmapFrame(const IBitmap& bitmap, const IRECT& dest, int frame,
                                const IBlend* blend)
{
  if (!bitmap.IsValid())
    return;
  const int f = std::clamp(frame, 0, bitmap.N() - 1);
  const int srcX = bitmap.GetFramesAreHorizontal() ? f * bitmap.FW() : 0;
  const int srcY = bitmap.GetFramesAreHorizontal() ? 0 : f * bitmap.FH();
  DrawBitmap(bitmap, dest, srcX, srcY, blend);
}

void IGraphics::DrawLine(const IColor& color, float x1, float y1, float x2, float y2,
                         const IBlend* blend, float thickness)
{
  mDrawContext->DrawLine(color, x1, y1, x2, y2, Or(blend), thickness);
}

void IGraphics::FillTriangle(const IColor& color, float x1, float y1, float x2, float y2, float x3,
                             float y3, const IBlend* blend)
{
  mDrawContext->FillTriangle(color, x1, y1, x2, y2, x3, y3, Or(blend));
}

void IGraphics::FillRect(const IColor& color, const IRECT& bounds, const IBlend* blend)
{
  mDrawContext->FillRoundRect(color, bounds, 0.f, Or(blend));
}

void IGraphics::FillRoundRect(const IColor& color, const IRECT& bounds, float cornerRadius,
                              const IBlend* blend)
{
  mDrawContext->FillRoundRect(color, bounds, cornerRadius, Or(blend));
}

void IGraphics::DrawRoundRect(const IColor& color, const IRECT& bounds, float cornerRadius,
                              const IBlend* blend, float thickness)
{
  mDrawContext->DrawRoundRect(color, bounds, cornerRadius, Or(blend), thickness);
}

bool IGraphics::DrawText(const IText& text, const char* str, const IRECT& bounds,
                         const IBlend* blend)
{
  const APIFont* font = FindFont(text.Font());
  if (!font)
    return false;
  mDrawContext->DrawText(*font, text, str, bounds, Or(blend));
  return true;
}

bool IGraphics::IsDirty() const
{
  return std::any_of(mControls.begin(), mControls.end(),
                     [](const auto& c) { return c->IsDirty(); });
}

void IGraphics::SetAllControlsDirty()
{
  for (const auto& control : mControls)
    control->SetDirty(false);
}

PixelRect IGraphics::Draw()
{
  IRECT area;
  for (const auto& control : mControls)
  {
    // A hidden control's mark still counts: its area must be redrawn without it.
    if (control->TakeDirty())
      area = area.Union(control->GetRECT());
  }
  area = {std::max(area.L, 0.f), std::max(area.T, 0.f), std::min(area.R, float(mWidth)),
          std::min(area.B, float(mHeight))};
  if (area.Empty() || !mHasBackingImage)
    return {};

  const float scale = GetTotalScale();
  const int left = std::max(0, static_cast<int>(std::floor(area.L * scale)));
  const int top = std::max(0, static_cast<int>(std::floor(area.T * scale)));
  const int right = std::min(WindowWidth(), static_cast<int>(std::ceil(area.R * scale)));
  const int bottom = std::min(WindowHeight(), static_cast<int>(std::ceil(area.B * scale)));
  const PixelRect region{left, top, right - left, bottom - top};
  if (region.Empty())
    return {};

  // Controls that meet the cleared pixels, in logical units.
  const IRECT cleared{left / scale, top / scale, right / scale, bottom / scale};
  mDrawContext->BeginFrame(region);
  for (const auto& control : mControls)
  {
    if (!control->IsHidden() && control->GetRECT().Intersects(cleared))
      control->Draw(*this);
  }
  mDrawContext->EndFrame();
  return region;
}

PixelRect IGraphics::DrawAll()
{
  SetAllControlsDirty();
  return Draw();
}

PixelView IGraphics::GetPixels()
{
  return mDrawContext->Pixels();
}

bool IGraphics::WritePNG(const char* path)
{
  return mDrawContext->WritePNG(path);
}

} // namespace iplug::igraphics
