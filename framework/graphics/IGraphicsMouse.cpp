#include "framework/graphics/IGraphics.h"

#include "framework/core/IEditorDelegate.h"

namespace iplug::igraphics
{

int IGraphics::GetMouseControlIdx(float x, float y) const
{
  for (int i = NControls() - 1; i >= 0; --i)
  {
    const IControl& control = *mControls[static_cast<size_t>(i)];
    if (!control.IsHidden() && !control.IsDisabled() && !control.GetIgnoreMouse() &&
        control.IsHit(x, y))
      return i;
  }
  return -1;
}

void IGraphics::BeginGesture(const IControl& control)
{
  EndGesture();
  mGestureParamIdx = control.GetParamIdx();
  if (mGestureParamIdx != kNoParameter)
    mDelegate.BeginInformHostOfParamChangeFromUI(mGestureParamIdx);
}

void IGraphics::EndGesture()
{
  if (mGestureParamIdx == kNoParameter)
    return;
  const int paramIdx = mGestureParamIdx;
  mGestureParamIdx = kNoParameter;
  mDelegate.EndInformHostOfParamChangeFromUI(paramIdx);
}

void IGraphics::OnMouseDown(float x, float y, const IMouseMod& mod)
{
  mLastMouseX = x;
  mLastMouseY = y;
  const float s = GetTotalScale();
  IControl* control = GetControl(GetMouseControlIdx(x / s, y / s));
  if (mCapturedControl)
    OnMouseUp(x, y, mod);
  if (!control)
    return;
  mCapturedControl = control;
  BeginGesture(*control);
  control->OnMouseDown(x / s, y / s, mod);
}

void IGraphics::OnMouseUp(float x, float y, const IMouseMod& mod)
{
  mLastMouseX = x;
  mLastMouseY = y;
  IControl* control = mCapturedControl;
  mCapturedControl = nullptr;
  if (control)
  {
    const float s = GetTotalScale();
    control->OnMouseUp(x / s, y / s, mod);
  }
  EndGesture();
  FinishDragResizeOnRelease();
}

void IGraphics::OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod)
{
  mLastMouseX = x;
  mLastMouseY = y;
  if (mResizingInProcess)
  {
    OnDragResize(x, y, mod);
    return;
  }
  if (!mCapturedControl || (dX == 0.f && dY == 0.f))
    return;
  const float s = GetTotalScale();
  mCapturedControl->OnMouseDrag(x / s, y / s, dX / s, dY / s, mod);
}

void IGraphics::OnMouseDblClick(float x, float y, const IMouseMod& mod)
{
  mLastMouseX = x;
  mLastMouseY = y;
  if (mCapturedControl)
    OnMouseUp(x, y, mod);
  const float s = GetTotalScale();
  IControl* control = GetControl(GetMouseControlIdx(x / s, y / s));
  if (!control)
    return;
  if (control->GetDblAsSingleClick())
  {
    OnMouseDown(x, y, mod);
    return;
  }
  BeginGesture(*control);
  control->OnMouseDblClick(x / s, y / s, mod);
  EndGesture();
}

void IGraphics::OnMouseWheel(float x, float y, const IMouseMod& mod, float d)
{
  mLastMouseX = x;
  mLastMouseY = y;
  const float s = GetTotalScale();
  IControl* control = GetControl(GetMouseControlIdx(x / s, y / s));
  if (!control || mCapturedControl)
    return;
  BeginGesture(*control);
  control->OnMouseWheel(x / s, y / s, mod, d);
  EndGesture();
}

void IGraphics::OnMouseOver(float x, float y, const IMouseMod& mod)
{
  mLastMouseX = x;
  mLastMouseY = y;
  if (!mEnableMouseOver || mCapturedControl)
    return;
  const float s = GetTotalScale();
  IControl* control = GetControl(GetMouseControlIdx(x / s, y / s));
  if (control != mMouseOverControl && mMouseOverControl)
    mMouseOverControl->OnMouseOut();
  mMouseOverControl = control;
  if (control)
    control->OnMouseOver(x / s, y / s, mod);
}

void IGraphics::OnMouseOut()
{
  if (mMouseOverControl)
    mMouseOverControl->OnMouseOut();
  mMouseOverControl = nullptr;
}

ECursor IGraphics::SetMouseCursor(ECursor cursor)
{
  const ECursor previous = mCursor;
  mCursor = cursor;
  if (previous != cursor)
    PlatformCursorChanged();
  return previous;
}

void IGraphics::HideMouseCursor(bool hide)
{
  if (hide == mCursorHidden)
    return;
  mCursorHidden = hide;
  if (hide)
  {
    mCursorRestoreX = mLastMouseX;
    mCursorRestoreY = mLastMouseY;
    mCursorRestorePending = false;
  }
  else
  {
    mCursorRestorePending = true;
  }
  PlatformCursorChanged();
}

bool IGraphics::TakeCursorRestore(float& x, float& y)
{
  if (!mCursorRestorePending)
    return false;
  mCursorRestorePending = false;
  x = mCursorRestoreX;
  y = mCursorRestoreY;
  return true;
}

} // namespace iplug::igraphics
