#include "framework/core/IdleTimer.h"
#include "framework/platform/MainThreadTimer.h"
#include "framework/vst3/VST3MainThread.h"

using namespace Steinberg;

namespace iplug
{

// Windows hosts pump their messages on the thread that creates instances: the idle timer is a
// Win32 timer there for the instance's whole life.
struct VST3MainThread::State
{
  std::unique_ptr<platform::MainThreadTimer> idleTimer;
};

VST3MainThread::VST3MainThread(VST3ViewOwner&, std::function<void()> idleTick)
    : mState(std::make_unique<State>(
          State{platform::StartMainThreadTimer(kIdleTimerIntervalMs, std::move(idleTick))}))
{
}

VST3MainThread::~VST3MainThread() = default;

void VST3MainThread::Connect(FUnknown*) {}

void VST3MainThread::Disconnect() {}

void VST3MainThread::SetComponentHandler(FUnknown*) {}

bool VST3MainThread::HasIdleTimer() const
{
  return mState->idleTimer != nullptr;
}

IPlugView* VST3MainThread::CreateView()
{
  return nullptr;
}

bool VST3MainThread::RequestViewResize(int, int)
{
  return false;
}

void VST3MainThread::ViewDestroyed() {}

} // namespace iplug
