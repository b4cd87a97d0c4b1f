// The Linux host context: its run loop offered as Linux::IRunLoop, as Linux hosts offer it.
#include "tools/host/vst3/VST3HostContext.h"

#include <cstdint>
#include <vector>

using namespace Steinberg;

namespace velmora::host::vst3
{

namespace
{

class VST3LinuxHostContext final : public VST3HostContext, public Linux::IRunLoop
{
public:
  VST3LinuxHostContext(std::string hostName, RunLoopOffer offer)
      : VST3HostContext(std::move(hostName), offer)
  {
  }

  tresult QueryRunLoop(const TUID iid, void** obj) override
  {
    if (!FUnknownPrivate::iidEqual(iid, Linux::IRunLoop::iid))
      return VST3HostContext::QueryRunLoop(iid, obj);
    *obj = static_cast<Linux::IRunLoop*>(this);
    addRef();
    return kResultOk;
  }

  // One object behind both interfaces.
  tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override
  {
    return VST3HostContext::queryInterface(iid, obj);
  }
  uint32 PLUGIN_API addRef() override { return VST3HostContext::addRef(); }
  uint32 PLUGIN_API release() override { return VST3HostContext::release(); }

  tresult PLUGIN_API registerEventHandler(Linux::IEventHandler* handler,
                                          Linux::FileDescriptor fd) override
  {
    if (!handler || fd < 0)
      return kInvalidArgument;
    const IPtr<Linux::IEventHandler> held(handler);
    if (!Loop().WatchFd(fd, RunLoop::kFdReadable,
                        [held, fd](RunLoop::FdEvents) { held->onFDIsSet(fd); }))
      return kInvalidArgument;
    mEventHandlers.push_back({handler, fd});
    return kResultOk;
  }

  tresult PLUGIN_API unregisterEventHandler(Linux::IEventHandler* handler) override
  {
    const auto removed = std::erase_if(mEventHandlers,
                                       [&](const EventHandlerEntry& entry)
                                       {
                                         if (entry.handler != handler)
                                           return false;
                                         Loop().UnwatchFd(entry.fd);
                                         return true;
                                       });
    return removed > 0 ? kResultOk : kInvalidArgument;
  }

  tresult PLUGIN_API registerTimer(Linux::ITimerHandler* handler,
                                   Linux::TimerInterval milliseconds) override
  {
    if (!handler || milliseconds == 0 || milliseconds > UINT32_MAX)
      return kInvalidArgument;
    const IPtr<Linux::ITimerHandler> held(handler);
    const uint32_t loopId =
        Loop().AddTimer(static_cast<uint32_t>(milliseconds), [held] { held->onTimer(); });
    mTimers.push_back({handler, loopId});
    return kResultOk;
  }

  tresult PLUGIN_API unregisterTimer(Linux::ITimerHandler* handler) override
  {
    const auto removed = std::erase_if(mTimers,
                                       [&](const TimerEntry& entry)
                                       {
                                         if (entry.handler != handler)
                                           return false;
                                         Loop().RemoveTimer(entry.loopId);
                                         return true;
                                       });
    return removed > 0 ? kResultOk : kInvalidArgument;
  }

private:
  ~VST3LinuxHostContext() override = default;

  struct TimerEntry
  {
    Linux::ITimerHandler* handler = nullptr;
    uint32_t loopId = 0;
  };

  struct EventHandlerEntry
  {
    Linux::IEventHandler* handler = nullptr;
    Linux::FileDescriptor fd = -1;
  };

  std::vector<TimerEntry> mTimers;
  std::vector<EventHandlerEntry> mEventHandlers;
};

} // namespace

IPtr<VST3HostContext> VST3HostContext::Create(std::string hostName, RunLoopOffer offer)
{
  return owned(static_cast<VST3HostContext*>(new VST3LinuxHostContext(std::move(hostName), offer)));
}

} // namespace velmora::host::vst3
