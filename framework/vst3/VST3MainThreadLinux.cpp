#include "framework/core/IEditorDelegate.h"
#include "framework/core/IdleTimer.h"
#include "framework/vst3/VST3HostRunLoop.h"
#include "framework/vst3/VST3IdleTimer.h"
#include "framework/vst3/VST3MainThread.h"
#include "framework/vst3/VST3ViewPlatform.h"

#include <cstring>

using namespace Steinberg;

namespace iplug
{

namespace
{

IPtr<Linux::IRunLoop> RunLoopOf(FUnknown* object)
{
  Linux::IRunLoop* runLoop = nullptr;
  if (!object ||
      object->queryInterface(Linux::IRunLoop::iid, reinterpret_cast<void**>(&runLoop)) !=
          kResultOk ||
      !runLoop)
    return nullptr;
  return owned(runLoop);
}

} // namespace

// Hosts offer their Linux::IRunLoop in different places: the context of initialise (where the
// idle timer then runs for the instance's life), or only the view's frame and the component
// handler once an editor exists (Ardour). There the idle timer runs on the editor's run loop
// while the editor is open, and the host's main-thread calls drive the idle step otherwise.
struct VST3MainThread::State final : VST3ViewPlatform
{
  State(VST3ViewOwner& viewOwner, std::function<void()> tick)
      : owner(viewOwner), idleTick(std::move(tick))
  {
  }

  VST3ViewOwner& owner;
  std::function<void()> idleTick;
  IPtr<VST3IdleTimer> idleTimer;
  // Whether the idle timer runs on an open editor's run loop and goes with it.
  bool idleTimerOnView = false;
  IPtr<Linux::IRunLoop> contextRunLoop;
  IPtr<FUnknown> componentHandler;
  // The run loop the open editor's window runs on.
  std::unique_ptr<VST3HostRunLoop> viewRunLoop;

  void StopTimer()
  {
    if (idleTimer)
      idleTimer->Stop();
    idleTimer = nullptr;
    idleTimerOnView = false;
  }

  IPtr<Linux::IRunLoop> RunLoopForView(IPlugFrame* frame) const
  {
    if (IPtr<Linux::IRunLoop> runLoop = RunLoopOf(frame))
      return runLoop;
    if (IPtr<Linux::IRunLoop> runLoop = RunLoopOf(componentHandler))
      return runLoop;
    return contextRunLoop;
  }

  bool SupportsPlatformType(FIDString type) const override
  {
    return std::strcmp(type, kPlatformTypeX11EmbedWindowID) == 0;
  }

  bool OpenWindow(IPlugFrame* frame, void* parent) override
  {
    // The window's events and redraws run on the host's run loop. Without one the editor would
    // freeze, so there is none.
    const IPtr<Linux::IRunLoop> runLoop = RunLoopForView(frame);
    if (!runLoop)
      return false;
    viewRunLoop = std::make_unique<VST3HostRunLoop>(runLoop);
    if (!owner.ViewDelegate().OpenWindow(parent, viewRunLoop.get()))
    {
      viewRunLoop.reset();
      return false;
    }
    if (!idleTimer)
    {
      idleTimer = VST3IdleTimer::Start(*runLoop, kIdleTimerIntervalMs, idleTick);
      idleTimerOnView = idleTimer != nullptr;
    }
    return true;
  }

  void CloseWindow() override
  {
    owner.ViewDelegate().CloseWindow();
    if (idleTimerOnView)
      StopTimer();
    viewRunLoop.reset();
  }
};

VST3MainThread::VST3MainThread(VST3ViewOwner& owner, std::function<void()> idleTick)
    : mState(std::make_unique<State>(owner, std::move(idleTick))), mViews(owner, *mState)
{
}

VST3MainThread::~VST3MainThread()
{
  mState->StopTimer();
}

void VST3MainThread::Connect(FUnknown* context)
{
  IPtr<Linux::IRunLoop> runLoop = RunLoopOf(context);
  if (!runLoop)
    return;
  mState->StopTimer();
  mState->idleTimer = VST3IdleTimer::Start(*runLoop, kIdleTimerIntervalMs, mState->idleTick);
  mState->contextRunLoop = std::move(runLoop);
}

void VST3MainThread::Disconnect()
{
  mState->StopTimer();
  mState->contextRunLoop = nullptr;
  mState->componentHandler = nullptr;
}

void VST3MainThread::SetComponentHandler(FUnknown* handler)
{
  mState->componentHandler = handler;
}

bool VST3MainThread::HasIdleTimer() const
{
  return mState->idleTimer != nullptr;
}

} // namespace iplug
