#include "tools/host/vst3/VST3HostContext.h"

#include "framework/vst3/VST3Strings.h"

#include <poll.h>

#include <cstdint>

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
  mLoop.FireEveryTimer();
}

void VST3HostContext::RunFor(std::chrono::milliseconds duration, const std::function<bool()>& done)
{
  mLoop.RunFor(duration, done);
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
  if (!handler || fd < 0)
    return kInvalidArgument;
  const IPtr<Linux::IEventHandler> held(handler);
  if (!mLoop.WatchFd(fd, POLLIN, [held, fd](short) { held->onFDIsSet(fd); }))
    return kInvalidArgument;
  mEventHandlers.push_back({handler, fd});
  return kResultOk;
}

tresult PLUGIN_API VST3HostContext::unregisterEventHandler(Linux::IEventHandler* handler)
{
  const auto removed = std::erase_if(mEventHandlers,
                                     [&](const EventHandlerEntry& entry)
                                     {
                                       if (entry.handler != handler)
                                         return false;
                                       mLoop.UnwatchFd(entry.fd);
                                       return true;
                                     });
  return removed > 0 ? kResultOk : kInvalidArgument;
}

tresult PLUGIN_API VST3HostContext::registerTimer(Linux::ITimerHandler* handler,
                                                  Linux::TimerInterval milliseconds)
{
  if (!handler || milliseconds == 0 || milliseconds > UINT32_MAX)
    return kInvalidArgument;
  const IPtr<Linux::ITimerHandler> held(handler);
  const uint32_t loopId =
      mLoop.AddTimer(static_cast<uint32_t>(milliseconds), [held] { held->onTimer(); });
  mTimers.push_back({handler, milliseconds, loopId});
  return kResultOk;
}

tresult PLUGIN_API VST3HostContext::unregisterTimer(Linux::ITimerHandler* handler)
{
  const auto removed = std::erase_if(mTimers,
                                     [&](const TimerEntry& entry)
                                     {
                                       if (entry.handler != handler)
                                         return false;
                                       mLoop.RemoveTimer(entry.loopId);
                                       return true;
                                     });
  return removed > 0 ? kResultOk : kInvalidArgument;
}

} // namespace velmora::host::vst3
