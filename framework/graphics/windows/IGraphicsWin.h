#pragma once

#include "framework/graphics/IGraphics.h"
#include "framework/graphics/windows/EditorWindowClass.h"
#include "framework/platform/windows/Win32Headers.h"

#include <memory>

namespace iplug::igraphics
{

// The graphics context with its Win32 child window in the host's window. The window keeps its
// own frame timer at the editor's frame rate: each tick draws what is dirty and repaints only
// that, copied from the backing DIB. The timer runs while the user works the editor and rests
// once some frames in a row found nothing to do; meanwhile the plug-in's idle tick draws what
// changed (meter levels, values, what other threads marked). Main thread only.
class IGraphicsWin final : public IGraphics
{
public:
  using IGraphics::IGraphics;
  ~IGraphicsWin() override;

  // The run loop is not needed: Windows delivers the window's messages and timers itself.
  bool OpenWindow(void* parent, IHostRunLoop* runLoop) override;
  void CloseWindow() override;
  bool IsWindowOpen() const override { return mWindow != nullptr; }
  bool ShowWindow(bool show) override;
  void OnIdle() override;

  HWND Window() const { return mWindow; }
  bool FramesRunning() const { return mFramesRunning; }

protected:
  void PlatformResized() override;
  void PlatformCursorChanged() override;

private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnPaint();
  void OnFrameTimer();
  void StartFrameTimer();
  void StopFrameTimer();
  // Draws a frame and repaints what it drew.
  void DrawAndPresent();
  void Present(std::span<const PixelRect> areas);
  void OnButton(UINT message, WPARAM wParam, LPARAM lParam);
  void OnMoveMessage(WPARAM wParam, LPARAM lParam);
  void OnWheelMessage(WPARAM wParam, LPARAM lParam);
  // The button's release never came to this window (capture taken away): the drag ends here.
  void OnCaptureLost();
  // After the user's input: frames at the full rate until things calm down.
  void AfterInput();
  void ApplyCursor();
  // The screen's scale for the window, unless the host gave one.
  void FollowScreenScale();
  void WindowGone();

  std::unique_ptr<EditorWindowClass> mWindowClass;
  HWND mWindow = nullptr;
  bool mFramesRunning = false;
  // Frames in a row that found nothing to do.
  int mQuietFrames = 0;
  float mLastX = 0.f;
  float mLastY = 0.f;
  bool mButtonDown = false;
  bool mTrackingLeave = false;
};

} // namespace iplug::igraphics
