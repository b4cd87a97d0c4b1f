#pragma once

#include "framework/core/IHostRunLoop.h"
#include "framework/graphics/IGraphics.h"
#include "framework/graphics/linux/X11Window.h"

#include <memory>

namespace iplug::igraphics
{

// The graphics context with its X11 window: the host's run loop delivers the window's events
// (its connection's descriptor) and a redraw timer at the editor's frame rate; each tick draws
// what is dirty and copies only that to the window. The timer runs while the user works the
// editor (window events start it) and rests once some frames in a row found nothing to do;
// meanwhile the plug-in's idle tick draws what changed (the meter levels it delivers, values,
// what other threads marked). Without an idle tick the timer never rests.
class IGraphicsLinux final : public IGraphics
{
public:
  using IGraphics::IGraphics;
  ~IGraphicsLinux() override;

  bool OpenWindow(void* parent, IHostRunLoop* runLoop) override;
  void CloseWindow() override;
  bool IsWindowOpen() const override { return mWindow != nullptr; }
  bool ShowWindow(bool show) override;
  void OnIdle() override;
  bool FramesRunning() const { return mTimerRegistration != nullptr; }

protected:
  void PlatformResized() override;
  void PlatformCursorChanged() override;

private:
  void OnWindowEvents();
  void OnFrameTimer();
  bool StartFrameTimer();
  void OnMouse(const WindowMouseEvent& event);
  void Present(const PixelRect& area) { Present(std::span<const PixelRect>(&area, 1)); }
  void Present(std::span<const PixelRect> areas);
  // Draws a frame and copies what it drew to the window.
  void DrawAndPresent();
  void ApplyCursor();

  std::unique_ptr<X11Window> mWindow;
  // The host's run loop while the window is open.
  IHostRunLoop* mRunLoop = nullptr;
  std::unique_ptr<IHostRunLoop::Registration> mFdRegistration;
  std::unique_ptr<IHostRunLoop::Registration> mTimerRegistration;
  // Frames in a row that found nothing to do.
  int mQuietFrames = 0;
  float mLastX = 0.f;
  float mLastY = 0.f;
  bool mButtonDown = false;
};

} // namespace iplug::igraphics
