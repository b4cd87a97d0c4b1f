#include "tools/host/vst3/VST3HostContext.h"

#include "framework/vst3/VST3Strings.h"

using namespace Steinberg;

namespace velmora::host::vst3
{

VST3HostContext::VST3HostContext(std::string hostName, RunLoopOffer offer)
    : mHostName(std::move(hostName)), mOffer(offer)
{
  // Hosts like Ardour serve plug-in timers only when the window system has nothing for them.
  mLoop.SetTimersYieldToFds(offer == RunLoopOffer::FrameAndHandler ||
                            offer == RunLoopOffer::HandlerOnly);
}

void VST3HostContext::Tick()
{
  mLoop.DispatchMessages();
  mLoop.FireEveryTimer();
}

void VST3HostContext::RunFor(std::chrono::milliseconds duration, const std::function<bool()>& done)
{
  mLoop.RunFor(duration, done);
}

tresult VST3HostContext::QueryRunLoop(const TUID, void** obj)
{
  if (obj)
    *obj = nullptr;
  return kNoInterface;
}

tresult PLUGIN_API VST3HostContext::queryInterface(const TUID iid, void** obj)
{
  if (!obj)
    return kInvalidArgument;
  if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) ||
      FUnknownPrivate::iidEqual(iid, Vst::IHostApplication::iid))
  {
    *obj = static_cast<Vst::IHostApplication*>(this);
    addRef();
    return kResultOk;
  }
  if (mOffer == RunLoopOffer::ContextAndFrame)
    return QueryRunLoop(iid, obj);
  *obj = nullptr;
  return kNoInterface;
}

uint32 PLUGIN_API VST3HostContext::addRef()
{
  return mRefCount.fetch_add(1) + 1;
}

uint32 PLUGIN_API VST3HostContext::release()
{
  const uint32 remaining = mRefCount.fetch_sub(1) - 1;
  if (remaining == 0)
    delete this;
  return remaining;
}

tresult PLUGIN_API VST3HostContext::getName(Vst::String128 name)
{
  if (!name)
    return kInvalidArgument;
  iplug::CopyToUTF16(mHostName, name, 128);
  return kResultOk;
}

tresult PLUGIN_API VST3HostContext::createInstance(TUID, TUID, void** obj)
{
  if (obj)
    *obj = nullptr;
  return kNoInterface;
}

} // namespace velmora::host::vst3
