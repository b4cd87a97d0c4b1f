#include "framework/graphics/IControl.h"

#include "framework/core/IEditorDelegate.h"
#include "framework/graphics/IGraphics.h"

#include <algorithm>
#include <cmath>

namespace iplug::igraphics
{

IControl::IControl(const IRECT& bounds, int paramIdx) : mRECT(bounds), mParamIdx(paramIdx) {}

void IControl::SetRECT(const IRECT& bounds)
{
  if (mUI)
    mUI->SetAreaDirty(mRECT);
  mRECT = bounds;
  SetDirty(false);
}

void IControl::SetUI(IGraphics& ui, int tag)
{
  mUI = &ui;
  mTag = tag;
}

IEditorDelegate* IControl::GetDelegate() const
{
  return mUI ? &mUI->GetDelegate() : nullptr;
}

void IControl::SetValue(double normalized)
{
  if (std::isnan(normalized))
    return;
  mValue = std::clamp(normalized, 0.0, 1.0);
}

void IControl::SetValueToDefault()
{
  const IEditorDelegate* delegate = GetDelegate();
  if (mParamIdx == kNoParameter || !delegate)
    return;
  SetValue(delegate->GetParamDefaultNormalized(mParamIdx));
  SetValueDirty(true);
}

void IControl::SetValueFromDelegate(double normalized)
{
  SetValue(normalized);
  SetValueDirty(false);
}

void IControl::SetDirty(bool triggerAction)
{
  mDirty.store(true, std::memory_order_release);
  if (triggerAction)
    SendValueToParam();
}

void IControl::SetValueDirty(bool triggerAction)
{
  if (ShowsNewValue())
    mDirty.store(true, std::memory_order_release);
  if (triggerAction)
    SendValueToParam();
}

void IControl::SendValueToParam()
{
  if (mParamIdx == kNoParameter)
    return;
  if (IEditorDelegate* delegate = GetDelegate())
    delegate->SendParameterValueFromUI(mParamIdx, mValue);
}

void IControl::Hide(bool hide)
{
  if (hide == mHidden)
    return;
  mHidden = hide;
  SetDirty(false);
}

void IControl::OnMouseDblClick(float, float, const IMouseMod&)
{
  SetValueToDefault();
}

void IControl::OnMouseOver(float, float, const IMouseMod&)
{
  if (!mMouseIsOver)
    SetDirty(false);
  mMouseIsOver = true;
}

void IControl::OnMouseOut()
{
  if (mMouseIsOver)
    SetDirty(false);
  mMouseIsOver = false;
}

} // namespace iplug::igraphics
