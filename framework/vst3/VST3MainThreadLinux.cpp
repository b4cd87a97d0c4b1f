#include "framework/core/IdleTimer.h"
#include "framework/vst3/VST3IdleTimer.h"
#include "framework/vst3/VST3MainThread.h"
#include "framework/vst3/VST3View.h"

using namespace Steinberg;

namespace iplug
{

struct VST3MainThread::State
{
  State(VST3ViewOwner& viewOwner, std::function<void()> tick)
      : owner(viewOwner), idleTick(std::move(tick))
  {
  }

  VST3ViewOwner& owner;
  std::function<void()> idleTick;
  IPtr<VST3IdleTimer> idleTimer;
  IPtr<Linux::IRunLoop> runLoop;
  // The one editor view while the host holds it; it clears this when it goes.
  VST3View* view = nullptr;

  void StopTimer()
  {
    if (idleTimer)
      idleTimer->Stop();
    idleTimer = nullptr;
  }
};

VST3MainThread::VST3MainThread(VST3ViewOwner& owner, std::function<void()> idleTick)
    : mState(std::make_unique<State>(owner, std::move(idleTick)))
{
}

VST3MainThread::~VST3MainThread()
{
  mState->StopTimer();
}

void VST3MainThread::Connect(FUnknown* context)
{
  Linux::IRunLoop* runLoop = nullptr;
  if (!context ||
      context->queryInterface(Linux::IRunLoop::iid, reinterpret_cast<void**>(&runLoop)) !=
          kResultOk ||
      !runLoop)
    return;
  mState->StopTimer();
  mState->idleTimer = VST3IdleTimer::Start(*runLoop, kIdleTimerIntervalMs, mState->idleTick);
  mState->runLoop = owned(runLoop);
}

void VST3MainThread::Disconnect()
{
  mState->StopTimer();
  mState->runLoop = nullptr;
}

bool VST3MainThread::HasIdleTimer() const
{
  return mState->idleTimer != nullptr;
}

IPlugView* VST3MainThread::CreateView()
{
  if (mState->view)
    return nullptr;
  IPtr<VST3View> view = VST3View::Create(mState->owner, mState->runLoop);
  mState->view = view.get();
  view->addRef();
  return view;
}

bool VST3MainThread::RequestViewResize(int width, int height)
{
  return mState->view && mState->view->RequestResize(width, height);
}

void VST3MainThread::ViewDestroyed()
{
  mState->view = nullptr;
}

} // namespace iplug
