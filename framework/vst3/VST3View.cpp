#include "framework/vst3/VST3View.h"

#include "framework/core/IEditorDelegate.h"

using namespace Steinberg;

namespace iplug
{

IPtr<VST3View> VST3View::Create(VST3ViewOwner& owner, VST3ViewPlatform& platform)
{
  return owned(new VST3View(owner, platform));
}

VST3View::VST3View(VST3ViewOwner& owner, VST3ViewPlatform& platform)
    : mOwner(owner), mPlatform(platform)
{
  mOwner.RetainForView();
}

VST3View::~VST3View()
{
  if (mAttached)
    CloseWindow();
  mOwner.ViewDestroyed();
  mOwner.ReleaseForView();
}

void VST3View::CloseWindow()
{
  mAttached = false;
  mPlatform.CloseWindow();
}

bool VST3View::RequestResize(int width, int height)
{
  if (!mFrame || !mAttached)
    return false;
  ViewRect rect(0, 0, width, height);
  return mFrame->resizeView(this, &rect) == kResultOk;
}

tresult PLUGIN_API VST3View::queryInterface(const TUID iid, void** obj)
{
  if (!obj)
    return kInvalidArgument;
  if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) ||
      FUnknownPrivate::iidEqual(iid, IPlugView::iid))
    *obj = static_cast<IPlugView*>(this);
  else if (FUnknownPrivate::iidEqual(iid, IPlugViewContentScaleSupport::iid))
    *obj = static_cast<IPlugViewContentScaleSupport*>(this);
  else
  {
    *obj = nullptr;
    return kNoInterface;
  }
  addRef();
  return kResultOk;
}

uint32 PLUGIN_API VST3View::addRef()
{
  return mRefCount.fetch_add(1) + 1;
}

uint32 PLUGIN_API VST3View::release()
{
  const uint32 remaining = mRefCount.fetch_sub(1) - 1;
  if (remaining == 0)
    delete this;
  return remaining;
}

tresult PLUGIN_API VST3View::isPlatformTypeSupported(FIDString type)
{
  return type && mPlatform.SupportsPlatformType(type) ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API VST3View::attached(void* parent, FIDString type)
{
  if (mAttached)
    return kResultFalse;
  if (!parent || isPlatformTypeSupported(type) != kResultTrue)
    return kInvalidArgument;
  // Attached first: opening may already ask the frame for the editor's stored size.
  mAttached = true;
  if (!mPlatform.OpenWindow(mFrame, parent))
  {
    mAttached = false;
    return kResultFalse;
  }
  return kResultOk;
}

tresult PLUGIN_API VST3View::removed()
{
  if (!mAttached)
    return kResultFalse;
  CloseWindow();
  return kResultOk;
}

tresult PLUGIN_API VST3View::onWheel(float)
{
  return kResultFalse;
}

tresult PLUGIN_API VST3View::onKeyDown(char16, int16, int16)
{
  return kResultFalse;
}

tresult PLUGIN_API VST3View::onKeyUp(char16, int16, int16)
{
  return kResultFalse;
}

tresult PLUGIN_API VST3View::getSize(ViewRect* size)
{
  if (!size)
    return kInvalidArgument;
  int width = 0;
  int height = 0;
  mOwner.ViewDelegate().GetEditorSize(width, height);
  *size = ViewRect(0, 0, width, height);
  return kResultOk;
}

tresult PLUGIN_API VST3View::onSize(ViewRect* newSize)
{
  if (!newSize)
    return kInvalidArgument;
  // Only the editor sizes itself; the host's confirmation of that size is the one size accepted.
  int width = 0;
  int height = 0;
  mOwner.ViewDelegate().GetEditorSize(width, height);
  return newSize->getWidth() == width && newSize->getHeight() == height ? kResultOk : kResultFalse;
}

tresult PLUGIN_API VST3View::onFocus(TBool)
{
  return kResultOk;
}

tresult PLUGIN_API VST3View::setFrame(IPlugFrame* frame)
{
  mFrame = frame;
  return kResultOk;
}

tresult PLUGIN_API VST3View::canResize()
{
  return kResultFalse;
}

tresult PLUGIN_API VST3View::checkSizeConstraint(ViewRect* rect)
{
  if (!rect)
    return kInvalidArgument;
  int width = rect->getWidth();
  int height = rect->getHeight();
  mOwner.ViewDelegate().ConstrainEditorSize(width, height);
  rect->right = rect->left + width;
  rect->bottom = rect->top + height;
  return kResultOk;
}

tresult PLUGIN_API VST3View::setContentScaleFactor(ScaleFactor factor)
{
  if (!(factor > 0.f))
    return kInvalidArgument;
  // An open editor resizes its window and asks the frame to follow by itself.
  mOwner.ViewDelegate().SetScreenScale(factor);
  return kResultOk;
}

} // namespace iplug
