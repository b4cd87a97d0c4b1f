#include "framework/vst3/VST3IdleTimer.h"

using namespace Steinberg;

namespace iplug
{

VST3IdleTimer::VST3IdleTimer(Linux::IRunLoop& runLoop, std::function<void()> tick)
    : mRunLoop(&runLoop), mTick(std::move(tick))
{
}

IPtr<VST3IdleTimer> VST3IdleTimer::Start(Linux::IRunLoop& runLoop,
                                         Linux::TimerInterval milliseconds,
                                         std::function<void()> tick)
{
  IPtr<VST3IdleTimer> timer = owned(new VST3IdleTimer(runLoop, std::move(tick)));
  if (runLoop.registerTimer(timer, milliseconds) != kResultOk)
    return nullptr;
  return timer;
}

void VST3IdleTimer::Stop()
{
  mTick = nullptr;
  if (mRunLoop)
  {
    mRunLoop->unregisterTimer(this);
    mRunLoop = nullptr;
  }
}

void PLUGIN_API VST3IdleTimer::onTimer()
{
  if (mTick)
    mTick();
}

tresult PLUGIN_API VST3IdleTimer::queryInterface(const TUID iid, void** obj)
{
  if (!obj)
    return kInvalidArgument;
  if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) ||
      FUnknownPrivate::iidEqual(iid, Linux::ITimerHandler::iid))
  {
    addRef();
    *obj = static_cast<Linux::ITimerHandler*>(this);
    return kResultOk;
  }
  *obj = nullptr;
  return kNoInterface;
}

uint32 PLUGIN_API VST3IdleTimer::addRef()
{
  return mRefCount.fetch_add(1) + 1;
}

uint32 PLUGIN_API VST3IdleTimer::release()
{
  const uint32 remaining = mRefCount.fetch_sub(1) - 1;
  if (remaining == 0)
    delete this;
  return remaining;
}

} // namespace iplug
