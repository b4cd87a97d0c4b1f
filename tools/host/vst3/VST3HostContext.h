#pragma once

#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivsthostapplication.h"

#include <atomic>
#include <string>
#include <utility>
#include <vector>

namespace velmora::host::vst3
{

// The host context handed to a plug-in at initialise: the host's name and its Linux run loop.
// The run loop does not keep time: each Tick fires every registered timer once, so the caller
// decides how often a tick happens.
class VST3HostContext final : public Steinberg::Vst::IHostApplication,
                              public Steinberg::Linux::IRunLoop
{
public:
  // Without offerRunLoop the context answers only IHostApplication, as hosts without a Linux
  // run loop do.
  static Steinberg::IPtr<VST3HostContext> Create(std::string hostName, bool offerRunLoop = true);
  VST3HostContext(const VST3HostContext&) = delete;
  VST3HostContext& operator=(const VST3HostContext&) = delete;

  // Fires every registered timer once; main thread.
  void Tick();
  size_t TimerCount() const { return mTimers.size(); }
  Steinberg::Linux::TimerInterval TimerInterval(size_t index) const
  {
    return mTimers.at(index).second;
  }

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

  std::atomic<Steinberg::uint32> mRefCount{1};
  std::string mHostName;
  bool mOfferRunLoop = true;
  std::vector<
      std::pair<Steinberg::IPtr<Steinberg::Linux::ITimerHandler>, Steinberg::Linux::TimerInterval>>
      mTimers;
  std::vector<
      std::pair<Steinberg::IPtr<Steinberg::Linux::IEventHandler>, Steinberg::Linux::FileDescriptor>>
      mEventHandlers;
};

} // namespace velmora::host::vst3
