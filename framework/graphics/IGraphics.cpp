#include "framework/graphics/IGraphics.h"

#include <algorithm>
#include <cmath>

namespace iplug::igraphics
{

IGraphics::IGraphics(IEditorDelegate& delegate, int width, int height, int fps, float scale)
    : mDelegate(delegate), mWidth(std::max(width, 1)), mHeight(std::max(height, 1)), mFPS(fps),
      mDrawScale(std::clamp(std::isfinite(scale) ? scale : 1.f, kMinDrawScale, kMaxDrawScale)),
      mDrawContext(MakeDrawContext())
{
  RebuildBackingImage();
}

IGraphics::~IGraphics()
{
  RemoveAllControls();
}

int IGraphics::WindowWidth() const
{
  return static_cast<int>(std::lround(mWidth * GetTotalScale()));
}

int IGraphics::WindowHeight() const
{
  return static_cast<int>(std::lround(mHeight * GetTotalScale()));
}

void IGraphics::RebuildBackingImage()
{
  mHasBackingImage = mDrawContext->SetSize(WindowWidth(), WindowHeight(), GetTotalScale());
}

void IGraphics::Resize(float drawScale)
{
  if (!std::isfinite(drawScale))
    return;
  mDrawScale = std::clamp(drawScale, kMinDrawScale, kMaxDrawScale);
  RebuildBackingImage();
  for (const auto& control : mControls)
  {
    control->OnRescale();
    control->OnResize();
  }
  SetAllControlsDirty();
  PlatformResized();
}

void IGraphics::SetScreenScale(float screenScale)
{
  if (!std::isfinite(screenScale))
    return;
  mScreenScale = std::clamp(screenScale, kMinScreenScale, kMaxScreenScale);
  RebuildBackingImage();
  for (const auto& control : mControls)
    control->OnRescale();
  SetAllControlsDirty();
  PlatformResized();
}

IControl* IGraphics::AttachControl(std::unique_ptr<IControl> control, int ctrlTag)
{
  if (!control)
    return nullptr;
  const int tag = (ctrlTag != kNoTag && GetControlWithTag(ctrlTag)) ? kNoTag : ctrlTag;
  control->SetUI(*this, tag);
  mControls.push_back(std::move(control));
  // A frame draws at most one region per control and one for the areas marked directly;
  // sized here, frames allocate nothing.
  mDrawRegions.reserve(mControls.size() + 1);
  IControl* attached = mControls.back().get();
  attached->OnAttached();
  return attached;
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
  EndGesture();
  mCapturedControl = nullptr;
  mMouseOverControl = nullptr;
  mInteractionListener = nullptr;
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

} // namespace iplug::igraphics
