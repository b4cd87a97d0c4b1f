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

// Where a host offers its run loop (Linux::IRunLoop) to a plug-in.
enum class RunLoopOffer
{
  // The context of initialise and every editor's frame, as most Linux hosts do.
  ContextAndFrame,
  // Nowhere.
  None,
  // Only an editor's frame and, once an editor has been made, the component handler, with the
  // plug-in's timers served after the window system's events, as Ardour does.
  FrameAndHandler,
  // As FrameAndHandler, but the frame offers none.
  HandlerOnly,
};

// The host context handed to a plug-in at initialise: the host's name and its main-thread run
// loop. On Linux the loop is offered as Linux::IRunLoop, where plug-ins register their timers
// and descriptors; Windows hosts offer none, and the loop dispatches the thread's messages,
// where plug-ins run their own timers. The loop is driven either step by step (Tick fires every
// registered timer once, so the caller decides how often a tick happens) or in real time
// (RunFor). Main thread only.
class VST3HostContext : public Steinberg::Vst::IHostApplication
{
public:
  static Steinberg::IPtr<VST3HostContext>
  Create(std::string hostName, RunLoopOffer offer = RunLoopOffer::ContextAndFrame);
  VST3HostContext(const VST3HostContext&) = delete;
  VST3HostContext& operator=(const VST3HostContext&) = delete;

  RunLoopOffer Offer() const { return mOffer; }
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

  // The platform's run-loop interface (Linux::IRunLoop), where the platform has one, whether or
  // not the context itself offers it; frames and the component handler answer it from here.
  virtual Steinberg::tresult QueryRunLoop(const Steinberg::TUID iid, void** obj);

  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override;
  Steinberg::uint32 PLUGIN_API release() override;

  Steinberg::tresult PLUGIN_API getName(Steinberg::Vst::String128 name) override;
  Steinberg::tresult PLUGIN_API createInstance(Steinberg::TUID cid, Steinberg::TUID iid,
                                               void** obj) override;

protected:
  VST3HostContext(std::string hostName, RunLoopOffer offer);
  virtual ~VST3HostContext() = default;

  RunLoop& Loop() { return mLoop; }

private:
  std::atomic<Steinberg::uint32> mRefCount{1};
  std::string mHostName;
  RunLoopOffer mOffer = RunLoopOffer::ContextAndFrame;
  // The loop's callbacks hold the references to the plug-in's handlers.
  RunLoop mLoop;
};

} // namespace velmora::host::vst3
