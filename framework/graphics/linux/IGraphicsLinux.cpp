#include "framework/graphics/linux/IGraphicsLinux.h"

#include "framework/core/IEditorDelegate.h"
#include "framework/graphics/MakeGraphics.h"

#include <algorithm>
#include <cmath>

namespace iplug::igraphics
{

namespace
{

// About a tenth of a second at 60 frames a second: short pauses between meter readings keep
// the frames running.
constexpr int kQuietFramesBeforeRest = 6;

} // namespace

std::unique_ptr<IGraphics> MakeGraphics(IEditorDelegate& delegate, int width, int height, int fps,
                                        float scale)
{
  return std::make_unique<IGraphicsLinux>(delegate, width, height, fps, scale);
}

IGraphicsLinux::~IGraphicsLinux()
{
  CloseWindow();
}

bool IGraphicsLinux::OpenWindow(void* parent, IHostRunLoop* runLoop)
{
  // The window's events and frames run on the host's loop; without it the editor would freeze.
  if (mWindow || !runLoop)
    return false;
  const auto parentId = reinterpret_cast<unsigned long>(parent);
  mWindow = X11Window::Open(parentId, WindowWidth(), WindowHeight());
  if (!mWindow)
    return false;
  // The host's scale when it gave one, else the screen's.
  const float hostScale = GetDelegate().GetHostScreenScale();
  const float screenScale = hostScale > 0.f ? hostScale : mWindow->ScreenScale();
  if (screenScale != GetScreenScale())
    SetScreenScale(screenScale);
  mRunLoop = runLoop;
  mFdRegistration = runLoop->WatchFd(mWindow->ConnectionFd(), [this] { OnWindowEvents(); });
  if (!mFdRegistration || !StartFrameTimer())
  {
    CloseWindow();
    return false;
  }
  ApplyCursor();
  Present(DrawAll());
  return true;
}

void IGraphicsLinux::CloseWindow()
{
  // The run loop stops calling in before the window goes.
  mTimerRegistration.reset();
  mFdRegistration.reset();
  mRunLoop = nullptr;
  mWindow.reset();
  mButtonDown = false;
}

bool IGraphicsLinux::ShowWindow(bool show)
{
  if (!mWindow)
    return false;
  mWindow->SetVisible(show);
  if (show)
    Present(DrawAll());
  return true;
}

void IGraphicsLinux::OnIdle()
{
  if (!mWindow)
    return;
  // Events already read into the connection's buffer leave the descriptor quiet; while the
  // frames rest nothing else would look there.
  if (!mTimerRegistration && mWindow->HasQueuedEvents())
    OnWindowEvents();
  // What the idle step delivered (meter levels) or another thread marked is drawn right away.
  if (NeedsFrame())
    DrawAndPresent();
  if (mQuietFrames >= kQuietFramesBeforeRest)
    mTimerRegistration.reset();
}

bool IGraphicsLinux::StartFrameTimer()
{
  mQuietFrames = 0;
  if (mTimerRegistration)
    return true;
  const int intervalMs = std::max(1, static_cast<int>(std::lround(1000.0 / std::max(1, FPS()))));
  mTimerRegistration = mRunLoop->StartTimer(intervalMs, [this] { OnFrameTimer(); });
  return mTimerRegistration != nullptr;
}

void IGraphicsLinux::PlatformResized()
{
  if (!mWindow)
    return;
  mWindow->Resize(WindowWidth(), WindowHeight());
  GetDelegate().EditorResizeFromUI(WindowWidth(), WindowHeight());
}

void IGraphicsLinux::PlatformCursorChanged()
{
  ApplyCursor();
}

void IGraphicsLinux::ApplyCursor()
{
  if (!mWindow)
    return;
  if (IsCursorHidden())
    mWindow->SetCursor(EWindowCursor::Hidden);
  else
    mWindow->SetCursor(GetMouseCursor() == ECursor::SIZENWSE ? EWindowCursor::SizeNWSE
                                                             : EWindowCursor::Arrow);
  float x = 0.f;
  float y = 0.f;
  if (TakeCursorRestore(x, y))
  {
    mWindow->MovePointer(static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y)));
    mLastX = x;
    mLastY = y;
  }
}

void IGraphicsLinux::OnWindowEvents()
{
  if (!mWindow)
    return;
  mWindow->ProcessEvents([this](const WindowMouseEvent& event) { OnMouse(event); },
                         [this](const PixelRect& area) { Present(area); });
  // The user is at work: frames at the full rate until things calm down.
  if (mWindow && NeedsFrame() && !mTimerRegistration)
  {
    StartFrameTimer();
    DrawAndPresent();
  }
}

void IGraphicsLinux::OnFrameTimer()
{
  if (!mWindow)
    return;
  // Events may wait in the connection's buffer without the descriptor turning readable.
  OnWindowEvents();
  const bool drew = !Draw().Empty();
  Present(DrawnRegions());
  mQuietFrames = !drew && !NeedsFrame() ? mQuietFrames + 1 : 0;
}

void IGraphicsLinux::DrawAndPresent()
{
  Draw();
  Present(DrawnRegions());
}

void IGraphicsLinux::Present(std::span<const PixelRect> areas)
{
  if (!mWindow || areas.empty())
    return;
  const PixelView pixels = GetPixels();
  if (pixels.data == nullptr)
    return;
  cairo_surface_t* image = cairo_image_surface_create_for_data(
      const_cast<unsigned char*>(pixels.data), CAIRO_FORMAT_RGB24, pixels.width, pixels.height,
      pixels.stride);
  mWindow->Present(image, areas);
  cairo_surface_destroy(image);
}

void IGraphicsLinux::OnMouse(const WindowMouseEvent& event)
{
  IMouseMod mod;
  mod.L = event.left;
  mod.R = event.right;
  mod.S = event.shift;
  mod.C = event.control;
  mod.A = event.alt;
  const float dX = event.x - mLastX;
  const float dY = event.y - mLastY;
  switch (event.kind)
  {
  case WindowMouseEvent::Kind::Down:
    mButtonDown = true;
    OnMouseDown(event.x, event.y, mod);
    break;
  case WindowMouseEvent::Kind::DoubleClick:
    mButtonDown = true;
    OnMouseDblClick(event.x, event.y, mod);
    break;
  case WindowMouseEvent::Kind::Up:
    mButtonDown = false;
    OnMouseUp(event.x, event.y, mod);
    break;
  case WindowMouseEvent::Kind::Move:
    if (mButtonDown && (event.left || event.right))
    {
      OnMouseDrag(event.x, event.y, dX, dY, mod);
      break;
    }
    // A host's menu may have taken the release of the press that opened it.
    mButtonDown = false;
    OnMouseOver(event.x, event.y, mod);
    break;
  case WindowMouseEvent::Kind::Wheel:
    OnMouseWheel(event.x, event.y, mod, event.wheel);
    break;
  case WindowMouseEvent::Kind::Leave:
    if (!mButtonDown)
      OnMouseOut();
    break;
  case WindowMouseEvent::Kind::Enter:
    break;
  }
  mLastX = event.x;
  mLastY = event.y;
  // Mouse handling may rescale the editor (the corner control), which closes nothing but may
  // ask for a redraw of everything: the next tick shows it.
}

} // namespace iplug::igraphics
