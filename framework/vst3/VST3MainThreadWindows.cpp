#include "framework/core/IEditorDelegate.h"
#include "framework/core/IdleTimer.h"
#include "framework/platform/MainThreadTimer.h"
#include "framework/vst3/VST3MainThread.h"
#include "framework/vst3/VST3View.h"
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
  // The one editor view while the host holds it; it clears this when it goes.
  VST3View* view = nullptr;
};

VST3MainThread::VST3MainThread(VST3ViewOwner& owner, std::function<void()> idleTick)
    : mState(std::make_unique<State>(owner, std::move(idleTick)))
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
  if (mState->view)
    return nullptr;
  IPtr<VST3View> view = VST3View::Create(mState->owner, *mState);
  mState->view = view.get();
  view->addRef();
  return view;
}

IPlugView* VST3MainThread::View() const
{
  return mState->view;
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
