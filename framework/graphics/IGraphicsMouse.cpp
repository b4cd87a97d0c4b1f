#include "framework/graphics/IGraphics.h"

#include "framework/core/IEditorDelegate.h"

#include <cmath>

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

void IGraphics::NoteEdit(const IControl& control, double before)
{
  if (mInteractionListener && control.GetValue() != before)
    mInteractionListener->OnControlEdited(control);
}

bool IGraphics::OnRightButtonOverParam(IControl* control, float x, float y)
{
  if (!control || control->GetParamIdx() == kNoParameter)
    return false;
  mDelegate.PopupHostContextMenuForParam(control->GetParamIdx(), static_cast<int>(std::lround(x)),
                                         static_cast<int>(std::lround(y)));
  return true;
}

void IGraphics::OnMouseDown(float x, float y, const IMouseMod& mod)
{
  mLastMouseX = x;
  mLastMouseY = y;
  const float s = GetTotalScale();
  IControl* control = GetControl(GetMouseControlIdx(x / s, y / s));
  const bool rightButton = mod.R && !mod.L;
  // The right button never interrupts what the left one holds.
  if (rightButton && mCapturedControl)
    return;
  if (rightButton && OnRightButtonOverParam(control, x, y))
    return;
  if (mCapturedControl)
    OnMouseUp(x, y, mod);
  if (!control)
    return;
  mCapturedControl = control;
  BeginGesture(*control);
  if (mInteractionListener)
    mInteractionListener->OnControlGrabbed(*control);
  const double before = control->GetValue();
  control->OnMouseDown(x / s, y / s, mod);
  NoteEdit(*control, before);
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
    if (mInteractionListener)
      mInteractionListener->OnControlReleased(*control);
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
  const double before = mCapturedControl->GetValue();
  mCapturedControl->OnMouseDrag(x / s, y / s, dX / s, dY / s, mod);
  NoteEdit(*mCapturedControl, before);
}

void IGraphics::OnMouseDblClick(float x, float y, const IMouseMod& mod)
{
  if (mod.R && !mod.L)
  {
    OnMouseDown(x, y, mod);
    return;
  }
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
  const double before = control->GetValue();
  control->OnMouseDblClick(x / s, y / s, mod);
  NoteEdit(*control, before);
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
  const double before = control->GetValue();
  control->OnMouseWheel(x / s, y / s, mod, d);
  NoteEdit(*control, before);
  EndGesture();
}

void IGraphics::OnMouseOver(float x, float y, const IMouseMod& mod)
{
  mLastMouseX = x;
  mLastMouseY = y;
  if (mCapturedControl)
    return;
  const float s = GetTotalScale();
  IControl* control = GetControl(GetMouseControlIdx(x / s, y / s));
  if (mInteractionListener)
    mInteractionListener->OnMouseMoved(control, x / s, y / s);
  if (!mEnableMouseOver)
    return;
  if (control != mMouseOverControl && mMouseOverControl)
    mMouseOverControl->OnMouseOut();
  mMouseOverControl = control;
  if (control)
    control->OnMouseOver(x / s, y / s, mod);
}

void IGraphics::OnMouseOut()
{
  if (mInteractionListener)
    mInteractionListener->OnMouseLeft();
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
