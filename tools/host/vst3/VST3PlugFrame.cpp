#include "tools/host/vst3/VST3PlugFrame.h"

#include "tools/host/HostedPlugin.h"

#include <utility>

using namespace Steinberg;

namespace velmora::host::vst3
{

IPtr<VST3PlugFrame> VST3PlugFrame::Create(IPtr<VST3HostContext> context, IPlugView* view,
                                          ResizeHandler onResize)
{
  return owned(new VST3PlugFrame(std::move(context), view, std::move(onResize)));
}

VST3PlugFrame::VST3PlugFrame(IPtr<VST3HostContext> context, IPlugView* view, ResizeHandler onResize)
    : mContext(std::move(context)), mView(view), mOnResize(std::move(onResize))
{
}

tresult PLUGIN_API VST3PlugFrame::queryInterface(const TUID iid, void** obj)
{
  if (!obj)
    return kInvalidArgument;
  if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) ||
      FUnknownPrivate::iidEqual(iid, IPlugFrame::iid))
  {
    addRef();
    *obj = static_cast<IPlugFrame*>(this);
    return kResultOk;
  }
  if (mContext->Offer() == RunLoopOffer::ContextAndFrame ||
      mContext->Offer() == RunLoopOffer::FrameAndHandler)
    return mContext->QueryRunLoop(iid, obj);
  *obj = nullptr;
  return kNoInterface;
}

uint32 PLUGIN_API VST3PlugFrame::addRef()
{
  return mRefCount.fetch_add(1) + 1;
}

uint32 PLUGIN_API VST3PlugFrame::release()
{
  const uint32 remaining = mRefCount.fetch_sub(1) - 1;
  if (remaining == 0)
    delete this;
  return remaining;
}

tresult PLUGIN_API VST3PlugFrame::resizeView(IPlugView* view, ViewRect* newSize)
{
  if (!view || view != mView || !newSize || newSize->getWidth() <= 0 || newSize->getHeight() <= 0 ||
      newSize->getWidth() > kMaxEditorSide || newSize->getHeight() > kMaxEditorSide)
    return kInvalidArgument;
  if (mOnResize)
    mOnResize(newSize->getWidth(), newSize->getHeight());
  return view->onSize(newSize) == kResultOk ? kResultTrue : kResultFalse;
}

} // namespace velmora::host::vst3
