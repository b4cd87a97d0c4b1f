#pragma once

#include "tools/host/RunLoop.h"

#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivsthostapplication.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <string>

namespace velmora::host::vst3
{

// The host context handed to a plug-in at initialise: the host's name and its main-thread run
// loop. On Linux the loop is offered as Linux::IRunLoop, where plug-ins register their timers
// and descriptors; Windows hosts offer none, and the loop dispatches the thread's messages,
// where plug-ins run their own timers. The loop is driven either step by step (Tick fires every
// registered timer once, so the caller decides how often a tick happens) or in real time
// (RunFor). Main thread only.
class VST3HostContext : public Steinberg::Vst::IHostApplication
{
public:
  // Without offerRunLoop the context answers only IHostApplication, as hosts without a run loop
  // do.
  static Steinberg::IPtr<VST3HostContext> Create(std::string hostName, bool offerRunLoop = true);
  VST3HostContext(const VST3HostContext&) = delete;
  VST3HostContext& operator=(const VST3HostContext&) = delete;

  bool OffersRunLoop() const { return mOfferRunLoop; }
  // Dispatches the thread's messages and fires every registered timer once.
  void Tick();
  // Fires timers at their intervals and serves readable descriptors and messages for the
  // duration, or until done answers true.
  void RunFor(std::chrono::milliseconds duration, const std::function<bool()>& done = {});
  // What the plug-in registered with the run loop.
  size_t TimerCount() const { return mLoop.TimerCount(); }
  Steinberg::uint64 TimerInterval(size_t index) const
  {
    return static_cast<Steinberg::uint64>(mLoop.TimerIntervals().at(index).count());
  }
  size_t EventHandlerCount() const { return mLoop.FdCount(); }

  // The platform's run-loop interface (Linux::IRunLoop), when the context offers one; the plug
  // frame answers it too.
  virtual Steinberg::tresult QueryRunLoop(const Steinberg::TUID iid, void** obj);

  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override;
  Steinberg::uint32 PLUGIN_API release() override;

  Steinberg::tresult PLUGIN_API getName(Steinberg::Vst::String128 name) override;
  Steinberg::tresult PLUGIN_API createInstance(Steinberg::TUID cid, Steinberg::TUID iid,
                                               void** obj) override;

protected:
  VST3HostContext(std::string hostName, bool offerRunLoop);
  virtual ~VST3HostContext() = default;

  RunLoop& Loop() { return mLoop; }

private:
  std::atomic<Steinberg::uint32> mRefCount{1};
  std::string mHostName;
  bool mOfferRunLoop = true;
  // The loop's callbacks hold the references to the plug-in's handlers.
  RunLoop mLoop;
};

} // namespace velmora::host::vst3
