#include "framework/graphics/IGraphics.h"

#include <algorithm>

namespace iplug::igraphics
{

IGraphics::IGraphics(IEditorDelegate& delegate, int width, int height, int fps, float scale)
    : mDelegate(delegate), mWidth(width), mHeight(height), mFPS(fps), mDrawScale(scale)
{
}

IGraphics::~IGraphics() = default;

IControl* IGraphics::AttachControl(std::unique_ptr<IControl> control, int ctrlTag)
{
  if (!control)
    return nullptr;
  const int tag = (ctrlTag != kNoTag && GetControlWithTag(ctrlTag)) ? kNoTag : ctrlTag;
  control->OnAttached(*this, tag);
  mControls.push_back(std::move(control));
  return mControls.back().get();
}

IControl* IGraphics::GetControl(int idx) const
{
  if (idx < 0 || idx >= NControls())
    return nullptr;
  return mControls[static_cast<size_t>(idx)].get();
}

IControl* IGraphics::GetControlWithTag(int ctrlTag) const
{
  if (ctrlTag == kNoTag)
    return nullptr;
  const auto found = std::find_if(mControls.begin(), mControls.end(),
                                  [ctrlTag](const auto& c) { return c->GetTag() == ctrlTag; });
  return found == mControls.end() ? nullptr : found->get();
}

void IGraphics::RemoveAllControls()
{
  mControls.clear();
}

bool IGraphics::SendMsgToControl(int ctrlTag, int msgTag, int dataSize, const void* pData) const
{
  IControl* control = GetControlWithTag(ctrlTag);
  if (!control)
    return false;
  control->OnMsgFromDelegate(msgTag, dataSize, pData);
  return true;
}

void IGraphics::UpdateControlsOfParam(int paramIdx, double normalized) const
{
  if (paramIdx == kNoParameter)
    return;
  for (const auto& control : mControls)
  {
    if (control->GetParamIdx() == paramIdx)
      control->SetValueFromDelegate(normalized);
  }
}

bool IGraphics::IsDirty() const
{
  return std::any_of(mControls.begin(), mControls.end(),
                     [](const auto& c) { return c->IsDirty(); });
}

} // namespace iplug::igraphics
