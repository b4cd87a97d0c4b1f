#pragma once

#include "tools/host/RunLoop.h"

#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivsthostapplication.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace velmora::host::vst3
{

// The host context handed to a plug-in at initialise: the host's name and its Linux run loop.
// The run loop is driven either step by step (Tick fires every registered timer once, so the
// caller decides how often a tick happens) or in real time (RunFor). Main thread only.
class VST3HostContext final : public Steinberg::Vst::IHostApplication,
                              public Steinberg::Linux::IRunLoop
{
public:
  // Without offerRunLoop the context answers only IHostApplication, as hosts without a Linux
  // run loop do.
  static Steinberg::IPtr<VST3HostContext> Create(std::string hostName, bool offerRunLoop = true);
  VST3HostContext(const VST3HostContext&) = delete;
  VST3HostContext& operator=(const VST3HostContext&) = delete;

  bool OffersRunLoop() const { return mOfferRunLoop; }
  // Fires every registered timer once.
  void Tick();
  // Fires timers at their intervals and serves readable descriptors for the duration, or until
  // done answers true.
  void RunFor(std::chrono::milliseconds duration, const std::function<bool()>& done = {});
  size_t TimerCount() const { return mTimers.size(); }
  Steinberg::Linux::TimerInterval TimerInterval(size_t index) const
  {
    return mTimers.at(index).interval;
  }
  size_t EventHandlerCount() const { return mEventHandlers.size(); }

  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override;
  Steinberg::uint32 PLUGIN_API release() override;

  Steinberg::tresult PLUGIN_API getName(Steinberg::Vst::String128 name) override;
  Steinberg::tresult PLUGIN_API createInstance(Steinberg::TUID cid, Steinberg::TUID iid,
                                               void** obj) override;

  Steinberg::tresult PLUGIN_API registerEventHandler(Steinberg::Linux::IEventHandler* handler,
                                                     Steinberg::Linux::FileDescriptor fd) override;
  Steinberg::tresult PLUGIN_API
  unregisterEventHandler(Steinberg::Linux::IEventHandler* handler) override;
  Steinberg::tresult PLUGIN_API
  registerTimer(Steinberg::Linux::ITimerHandler* handler,
                Steinberg::Linux::TimerInterval milliseconds) override;
  Steinberg::tresult PLUGIN_API unregisterTimer(Steinberg::Linux::ITimerHandler* handler) override;

private:
  VST3HostContext(std::string hostName, bool offerRunLoop);
  ~VST3HostContext() = default;

  struct TimerEntry
  {
    Steinberg::Linux::ITimerHandler* handler = nullptr;
    Steinberg::Linux::TimerInterval interval = 0;
    uint32_t loopId = 0;
  };

  struct EventHandlerEntry
  {
    Steinberg::Linux::IEventHandler* handler = nullptr;
    Steinberg::Linux::FileDescriptor fd = -1;
  };

  std::atomic<Steinberg::uint32> mRefCount{1};
  std::string mHostName;
  bool mOfferRunLoop = true;
  // The loop's callbacks hold the references to the handlers.
  RunLoop mLoop;
  std::vector<TimerEntry> mTimers;
  std::vector<EventHandlerEntry> mEventHandlers;
};

} // namespace velmora::host::vst3
