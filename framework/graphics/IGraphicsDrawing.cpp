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

float IGraphics::MeasureText(const IText& text, const char* str)
{
  const APIFont* font = FindFont(text.Font());
  if (!font || !mHasBackingImage)
    return 0.f;
  return mDrawContext->MeasureText(*font, text, str);
}

bool IGraphics::IsDirty() const
{
  return std::any_of(mControls.begin(), mControls.end(),
                     [](const auto& c) { return c->IsDirty(); });
}

bool IGraphics::NeedsFrame() const
{
  return !mDirtyArea.Empty() ||
         std::any_of(mControls.begin(), mControls.end(),
                     [](const auto& c) { return c->IsDirty() || c->WantsFrameStart(); });
}

void IGraphics::SetAllControlsDirty()
{
  for (const auto& control : mControls)
    control->SetDirty(false);
}

PixelRect IGraphics::ToPixels(const IRECT& r) const
{
  const float scale = GetTotalScale();
  const int left = std::max(0, static_cast<int>(std::floor(r.L * scale)));
  const int top = std::max(0, static_cast<int>(std::floor(r.T * scale)));
  const int right = std::min(WindowWidth(), static_cast<int>(std::ceil(r.R * scale)));
  const int bottom = std::min(WindowHeight(), static_cast<int>(std::ceil(r.B * scale)));
  if (r.Empty() || right <= left || bottom <= top)
    return {};
  return {left, top, right - left, bottom - top};
}

void IGraphics::AddDrawRegion(PixelRect region)
{
  if (region.Empty())
    return;
  // Regions that overlap are drawn as one, so that no pixel is drawn twice.
  for (auto it = mDrawRegions.begin(); it != mDrawRegions.end();)
  {
    if (!it->Intersect(region).Empty())
    {
      region = region.Union(*it);
      mDrawRegions.erase(it);
      it = mDrawRegions.begin();
    }
    else
    {
      ++it;
    }
  }
  mDrawRegions.push_back(region);
}

void IGraphics::DrawRegion(const PixelRect& region)
{
  // Each control draws within its own rectangle, rounded out to whole pixels, so that a
  // partial redraw gives the same pixels as a full one.
  mDrawContext->BeginFrame(region);
  for (const auto& control : mControls)
  {
    if (control->IsHidden())
      continue;
    const PixelRect clip = ToPixels(control->GetRECT()).Intersect(region);
    if (clip.Empty())
      continue;
    mDrawContext->SetClip(clip);
    control->Draw(*this);
  }
  mDrawContext->EndFrame();
}

PixelRect IGraphics::Draw()
{
  for (const auto& control : mControls)
    control->OnFrameStart();
  mDrawRegions.clear();
  AddDrawRegion(ToPixels(mDirtyArea));
  mDirtyArea = {};
  for (const auto& control : mControls)
  {
    // A hidden control's mark still counts: its area must be redrawn without it.
    if (control->TakeDirty())
      AddDrawRegion(ToPixels(control->GetRECT()));
  }
  if (!mHasBackingImage)
    mDrawRegions.clear();
  PixelRect changed;
  for (const PixelRect& region : mDrawRegions)
  {
    DrawRegion(region);
    changed = changed.Union(region);
  }
  return changed;
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
