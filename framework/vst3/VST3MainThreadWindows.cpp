#include "framework/core/IEditorDelegate.h"
#include "framework/core/IdleTimer.h"
#include "framework/platform/MainThreadTimer.h"
#include "framework/vst3/VST3MainThread.h"
#include "framework/vst3/VST3ViewPlatform.h"

#include <cstring>

using namespace Steinberg;

namespace iplug
{

// Windows hosts pump their messages on the thread that creates instances: the idle timer is a
// Win32 timer there for the instance's whole life, and the editor's window keeps its own timer.
struct VST3MainThread::State final : VST3ViewPlatform
{
  State(VST3ViewOwner& viewOwner, std::function<void()> idleTick)
      : owner(viewOwner),
        idleTimer(platform::StartMainThreadTimer(kIdleTimerIntervalMs, std::move(idleTick)))
  {
  }

  bool SupportsPlatformType(FIDString type) const override
  {
    return std::strcmp(type, kPlatformTypeHWND) == 0;
  }

  bool OpenWindow(IPlugFrame*, void* parent) override
  {
    return owner.ViewDelegate().OpenWindow(parent, nullptr);
  }

  void CloseWindow() override { owner.ViewDelegate().CloseWindow(); }

  VST3ViewOwner& owner;
  std::unique_ptr<platform::MainThreadTimer> idleTimer;
};

VST3MainThread::VST3MainThread(VST3ViewOwner& owner, std::function<void()> idleTick)
    : mState(std::make_unique<State>(owner, std::move(idleTick))), mViews(owner, *mState)
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

} // namespace iplug
