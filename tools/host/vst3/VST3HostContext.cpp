#include "tools/host/vst3/VST3HostContext.h"

#include "framework/vst3/VST3Strings.h"

#include <algorithm>

using namespace Steinberg;

namespace velmora::host::vst3
{

IPtr<VST3HostContext> VST3HostContext::Create(std::string hostName, bool offerRunLoop)
{
  return owned(new VST3HostContext(std::move(hostName), offerRunLoop));
}

VST3HostContext::VST3HostContext(std::string hostName, bool offerRunLoop)
    : mHostName(std::move(hostName)), mOfferRunLoop(offerRunLoop)
{
}

void VST3HostContext::Tick()
{
  // A timer callback may register or unregister timers; fire the ones present at the start.
  const auto timers = mTimers;
  for (const auto& [handler, interval] : timers)
  {
    const bool stillRegistered = std::any_of(
        mTimers.begin(), mTimers.end(), [&](const auto& entry) { return entry.first == handler; });
    if (stillRegistered)
      handler->onTimer();
  }
}

tresult PLUGIN_API VST3HostContext::queryInterface(const TUID iid, void** obj)
{
  if (!obj)
    return kInvalidArgument;
  if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) ||
      FUnknownPrivate::iidEqual(iid, Vst::IHostApplication::iid))
    *obj = static_cast<Vst::IHostApplication*>(this);
  else if (mOfferRunLoop && FUnknownPrivate::iidEqual(iid, Linux::IRunLoop::iid))
    *obj = static_cast<Linux::IRunLoop*>(this);
  else
  {
    *obj = nullptr;
    return kNoInterface;
  }
  addRef();
  return kResultOk;
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

tresult PLUGIN_API VST3HostContext::registerEventHandler(Linux::IEventHandler* handler,
                                                         Linux::FileDescriptor fd)
{
  if (!handler)
    return kInvalidArgument;
  mEventHandlers.emplace_back(handler, fd);
  return kResultOk;
}

tresult PLUGIN_API VST3HostContext::unregisterEventHandler(Linux::IEventHandler* handler)
{
  const auto removed =
      std::erase_if(mEventHandlers, [&](const auto& entry) { return entry.first == handler; });
  return removed > 0 ? kResultOk : kInvalidArgument;
}

tresult PLUGIN_API VST3HostContext::registerTimer(Linux::ITimerHandler* handler,
                                                  Linux::TimerInterval milliseconds)
{
  if (!handler || milliseconds == 0)
    return kInvalidArgument;
  mTimers.emplace_back(handler, milliseconds);
  return kResultOk;
}

tresult PLUGIN_API VST3HostContext::unregisterTimer(Linux::ITimerHandler* handler)
{
  const auto removed =
      std::erase_if(mTimers, [&](const auto& entry) { return entry.first == handler; });
  return removed > 0 ? kResultOk : kInvalidArgument;
}

} // namespace velmora::host::vst3
