#pragma once

#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/gui/iplugview.h"

#include <atomic>
#include <functional>

namespace iplug
{

// A repeating timer on the host's Linux run loop. The run loop holds a reference while the timer
// is registered, so the callback is cut off by Stop before its owner goes away.
class VST3IdleTimer final : public Steinberg::Linux::ITimerHandler
{
public:
  // Registers a timer; null when the run loop refuses it.
  static Steinberg::IPtr<VST3IdleTimer> Start(Steinberg::Linux::IRunLoop& runLoop,
                                              Steinberg::Linux::TimerInterval milliseconds,
                                              std::function<void()> tick);
  VST3IdleTimer(const VST3IdleTimer&) = delete;
  VST3IdleTimer& operator=(const VST3IdleTimer&) = delete;

  // Unregisters the timer and drops the callback; safe to call more than once.
  void Stop();

  void PLUGIN_API onTimer() override;

  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override;
  Steinberg::uint32 PLUGIN_API release() override;

private:
  VST3IdleTimer(Steinberg::Linux::IRunLoop& runLoop, std::function<void()> tick);
  ~VST3IdleTimer() = default;

  std::atomic<Steinberg::uint32> mRefCount{1};
  Steinberg::IPtr<Steinberg::Linux::IRunLoop> mRunLoop;
  std::function<void()> mTick;
};

} // namespace iplug
