#pragma once

#include "framework/vst3/VST3ViewOwner.h"
#include "framework/vst3/VST3ViewSlot.h"

#include "pluginterfaces/base/funknown.h"
#include "pluginterfaces/gui/iplugview.h"

#include <functional>
#include <memory>

namespace iplug
{

// The wrapper's ties to the host's main thread, as the platform has them: where the idle timer
// runs and which editor view a host can get. Linux: both run on the host's Linux::IRunLoop,
// the context's from initialise on, or the one an open editor found, and the view embeds in an
// X11 window; Windows: a Win32 timer from construction on, and an HWND view. Main thread only.
class VST3MainThread
{
public:
  VST3MainThread(VST3ViewOwner& owner, std::function<void()> idleTick);
  ~VST3MainThread();
  VST3MainThread(const VST3MainThread&) = delete;
  VST3MainThread& operator=(const VST3MainThread&) = delete;

  // The host context of initialise, which may offer the host's run loop.
  void Connect(Steinberg::FUnknown* context);
  // At terminate: lets go of what Connect and SetComponentHandler took.
  void Disconnect();
  // Some hosts offer their run loop through the component handler.
  void SetComponentHandler(Steinberg::FUnknown* handler);
  bool HasIdleTimer() const;

  // A new editor view that holds the one reference the host receives; null while a view exists.
  Steinberg::IPlugView* CreateView() { return mViews.Create(); }
  // The view the host holds while one exists; null otherwise.
  Steinberg::IPlugView* View() const { return mViews.View(); }
  // The editor changed its own size: the view asks the host's frame to follow.
  bool RequestViewResize(int width, int height) { return mViews.RequestResize(width, height); }
  void ViewDestroyed() { mViews.Emptied(); }

private:
  struct State;
  std::unique_ptr<State> mState;
  // Views open on the state's platform windows.
  VST3ViewSlot mViews;
};

} // namespace iplug
