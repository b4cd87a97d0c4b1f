#include "framework/graphics/controls/IKnobControlBase.h"

#include "framework/graphics/IGraphics.h"

namespace iplug::igraphics
{

IKnobControlBase::IKnobControlBase(const IRECT& bounds, int paramIdx, EDirection direction,
                                   double gearing)
    : IControl(bounds, paramIdx), mDirection(direction), mGearing(gearing > 0.0 ? gearing : 1.0)
{
}

void IKnobControlBase::OnMouseDown(float, float, const IMouseMod&)
{
  if (mHideCursorOnDrag && GetUI())
    GetUI()->HideMouseCursor(true);
}

void IKnobControlBase::OnMouseUp(float, float, const IMouseMod&)
{
  if (mHideCursorOnDrag && GetUI())
    GetUI()->HideMouseCursor(false);
}

void IKnobControlBase::OnMouseDrag(float, float, float dX, float dY, const IMouseMod& mod)
{
  const bool vertical = mDirection == EDirection::Vertical;
  const double travel = vertical ? GetRECT().H() : GetRECT().W();
  if (!(travel > 0.0))
    return;
  const double gearing = (mod.S || mod.C) ? mGearing * kFineFactor : mGearing;
  const double movement = vertical ? -dY : dX;
  const double before = GetValue();
  SetValue(before + movement / (travel * gearing));
  if (GetValue() != before)
    SetValueDirty(true);
}

void IKnobControlBase::OnMouseWheel(float, float, const IMouseMod& mod, float d)
{
  const double step = (mod.S || mod.C) ? kFineWheelStep : kWheelStep;
  const double before = GetValue();
  SetValue(before + step * d);
  if (GetValue() != before)
    SetValueDirty(true);
}

} // namespace iplug::igraphics
