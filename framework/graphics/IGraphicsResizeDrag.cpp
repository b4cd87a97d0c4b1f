#include "framework/graphics/IGraphics.h"

#include <algorithm>
#include <cmath>

namespace iplug::igraphics
{

void IGraphics::StartDragResize()
{
  mResizingInProcess = true;
  // The origin in logical units; never 0, so that the ratios below stay finite.
  const float s = GetTotalScale();
  mDragResizeOriginX = std::max(mLastMouseX / s, 1.f);
  mDragResizeOriginY = std::max(mLastMouseY / s, 1.f);
}

void IGraphics::EndDragResize()
{
  mResizingInProcess = false;
  for (const auto& control : mControls)
  {
    control->OnRescale();
    control->OnResize();
  }
  SetAllControlsDirty();
}

void IGraphics::OnDragResize(float x, float y, const IMouseMod& mod)
{
  mDragWithShift = mod.S;
  // x / screen scale is the mouse's distance from the origin in device-independent pixels,
  // which is the draw scale times the logical distance; the origin was logical at mouse-down.
  const float scaleX = x / mScreenScale / mDragResizeOriginX;
  const float scaleY = y / mScreenScale / mDragResizeOriginY;
  Resize(std::min(scaleX, scaleY));
}

void IGraphics::FinishDragResizeOnRelease()
{
  if (mResizingInProcess)
  {
    EndDragResize();
    mDragWithShift = false;
  }
  if (mPendingSnapScale > 0.f)
  {
    const float snap = mPendingSnapScale;
    mPendingSnapScale = 0.f;
    StartDragResize();
    mDragWithShift = false;
    Resize(snap);
    EndDragResize();
  }
}

} // namespace iplug::igraphics
