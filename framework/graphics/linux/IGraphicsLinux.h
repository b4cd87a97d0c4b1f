#pragma once

#include "framework/core/IHostRunLoop.h"
#include "framework/graphics/IGraphics.h"
#include "framework/graphics/linux/X11Window.h"

#include <memory>

namespace iplug::igraphics
{

// The graphics context with its X11 window: the host's run loop delivers the window's events
// (its connection's descriptor) and a redraw timer at the editor's frame rate; each tick draws
// what is dirty and copies only that to the window.
class IGraphicsLinux final : public IGraphics
{
public:
  using IGraphics::IGraphics;
  ~IGraphicsLinux() override;

  bool OpenWindow(void* parent, IHostRunLoop& runLoop) override;
  void CloseWindow() override;
  bool IsWindowOpen() const override { return mWindow != nullptr; }
  bool ShowWindow(bool show) override;

protected:
  void PlatformResized() override;
  void PlatformCursorChanged() override;

private:
  void OnWindowEvents();
  void OnFrameTimer();
  void OnMouse(const WindowMouseEvent& event);
  void Present(const PixelRect& area);
  void ApplyCursor();

  std::unique_ptr<X11Window> mWindow;
  std::unique_ptr<IHostRunLoop::Registration> mFdRegistration;
  std::unique_ptr<IHostRunLoop::Registration> mTimerRegistration;
  float mLastX = 0.f;
  float mLastY = 0.f;
  bool mButtonDown = false;
};

} // namespace iplug::igraphics
