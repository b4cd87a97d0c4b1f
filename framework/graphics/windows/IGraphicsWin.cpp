#include "framework/graphics/windows/IGraphicsWin.h"

#include "framework/core/IEditorDelegate.h"
#include "framework/graphics/GdiplusDrawContext.h"
#include "framework/graphics/MakeGraphics.h"
#include "framework/graphics/windows/ScreenScale.h"

#include <algorithm>
#include <cmath>

namespace iplug::igraphics
{

namespace
{

constexpr UINT_PTR kFrameTimerId = 1;
// About a tenth of a second at 60 frames a second: short pauses between meter readings keep
// the frames running.
constexpr int kQuietFramesBeforeRest = 6;
// Sent to child windows after their top-level window moved to a screen of another DPI; older
// SDK headers lack the name.
constexpr UINT kDpiChangedAfterParent = 0x02E3;
// The system cursors IDC_SIZENWSE and IDC_ARROW (whose macros follow the A/W switch).
constexpr WORD kResizeCursor = 32642;
constexpr WORD kArrowCursor = 32512;

float MessageX(LPARAM lParam)
{
  return static_cast<float>(static_cast<short>(LOWORD(lParam)));
}

float MessageY(LPARAM lParam)
{
  return static_cast<float>(static_cast<short>(HIWORD(lParam)));
}

// Buttons and modifiers as mouse messages carry them; Alt is not among them.
IMouseMod ModifiersOf(WPARAM keys)
{
  IMouseMod mod;
  mod.L = (keys & MK_LBUTTON) != 0;
  mod.R = (keys & MK_RBUTTON) != 0;
  mod.S = (keys & MK_SHIFT) != 0;
  mod.C = (keys & MK_CONTROL) != 0;
  mod.A = GetKeyState(VK_MENU) < 0;
  return mod;
}

RECT ToRect(const PixelRect& area)
{
  return {area.x, area.y, area.x + area.w, area.y + area.h};
}

} // namespace

std::unique_ptr<IGraphics> MakeGraphics(IEditorDelegate& delegate, int width, int height, int fps,
                                        float scale)
{
  return std::make_unique<IGraphicsWin>(delegate, width, height, fps, scale);
}

IGraphicsWin::~IGraphicsWin()
{
  CloseWindow();
}

bool IGraphicsWin::OpenWindow(void* parent, IHostRunLoop*)
{
  if (mWindow || !parent)
    return false;
  mWindowClass = EditorWindowClass::Acquire(&IGraphicsWin::WindowProc);
  if (!mWindowClass)
    return false;
  // The window carries this object from its first message on.
  CreateWindowExW(0, mWindowClass->Name(), L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0,
                  WindowWidth(), WindowHeight(), static_cast<HWND>(parent), nullptr,
                  mWindowClass->Module(), this);
  if (!mWindow)
  {
    mWindowClass.reset();
    return false;
  }
  FollowScreenScale();
  StartFrameTimer();
  if (!mFramesRunning)
  {
    CloseWindow();
    return false;
  }
  const PixelRect all = DrawAll();
  Present(std::span<const PixelRect>(&all, 1));
  return true;
}

void IGraphicsWin::CloseWindow()
{
  // A drag cut short ends with the editor (its gesture is closed as the controls go), not
  // through the capture that the window's end takes away.
  mButtonDown = false;
  if (mWindow)
    DestroyWindow(mWindow);
  WindowGone();
  mWindowClass.reset();
}

bool IGraphicsWin::ShowWindow(bool show)
{
  if (!mWindow)
    return false;
  ::ShowWindow(mWindow, show ? SW_SHOWNA : SW_HIDE);
  if (show)
  {
    const PixelRect all = DrawAll();
    Present(std::span<const PixelRect>(&all, 1));
  }
  return true;
}

void IGraphicsWin::OnIdle()
{
  if (!mWindow)
    return;
  // What the idle step delivered (meter levels) or another thread marked is drawn right away.
  if (NeedsFrame())
    DrawAndPresent();
  if (mQuietFrames >= kQuietFramesBeforeRest)
    StopFrameTimer();
}

void IGraphicsWin::StartFrameTimer()
{
  mQuietFrames = 0;
  if (mFramesRunning || !mWindow)
    return;
  const int intervalMs = std::max(1, static_cast<int>(std::lround(1000.0 / std::max(1, FPS()))));
  mFramesRunning = SetTimer(mWindow, kFrameTimerId, static_cast<UINT>(intervalMs), nullptr) != 0;
}

void IGraphicsWin::StopFrameTimer()
{
  if (mFramesRunning && mWindow)
    KillTimer(mWindow, kFrameTimerId);
  mFramesRunning = false;
}

void IGraphicsWin::OnFrameTimer()
{
  const bool drew = !Draw().Empty();
  Present(DrawnRegions());
  mQuietFrames = !drew && !NeedsFrame() ? mQuietFrames + 1 : 0;
}

void IGraphicsWin::DrawAndPresent()
{
  Draw();
  Present(DrawnRegions());
}

void IGraphicsWin::Present(std::span<const PixelRect> areas)
{
  if (!mWindow || areas.empty())
    return;
  for (const PixelRect& area : areas)
  {
    const RECT rect = ToRect(area);
    InvalidateRect(mWindow, &rect, FALSE);
  }
  // Painted now rather than when the queue runs dry: a dragged knob follows the mouse.
  UpdateWindow(mWindow);
}

void IGraphicsWin::OnPaint()
{
  PAINTSTRUCT paint;
  HDC target = BeginPaint(mWindow, &paint);
  // On Windows the back end is always GDI+, drawing into a DIB section.
  const HBITMAP image = static_cast<GdiplusDrawContext&>(GetDrawContext()).Dib();
  if (target && image)
  {
    HDC source = CreateCompatibleDC(target);
    if (source)
    {
      const HGDIOBJ previous = SelectObject(source, image);
      const RECT& area = paint.rcPaint;
      BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, source,
             area.left, area.top, SRCCOPY);
      SelectObject(source, previous);
      DeleteDC(source);
    }
  }
  EndPaint(mWindow, &paint);
}

void IGraphicsWin::PlatformResized()
{
  if (!mWindow)
    return;
  SetWindowPos(mWindow, nullptr, 0, 0, WindowWidth(), WindowHeight(),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  GetDelegate().EditorResizeFromUI(WindowWidth(), WindowHeight());
  // The rebuilt image is drawn before the enlarged window can paint from it.
  DrawAndPresent();
}

void IGraphicsWin::PlatformCursorChanged()
{
  ApplyCursor();
}

void IGraphicsWin::ApplyCursor()
{
  if (!mWindow)
    return;
  // Only while the mouse is over the editor or held by it: the host's cursor is not ours.
  POINT at{};
  GetCursorPos(&at);
  if (GetCapture() == mWindow || WindowFromPoint(at) == mWindow)
  {
    if (IsCursorHidden())
      SetCursor(nullptr);
    else
      SetCursor(LoadCursorW(nullptr, GetMouseCursor() == ECursor::SIZENWSE
                                         ? MAKEINTRESOURCEW(kResizeCursor)
                                         : MAKEINTRESOURCEW(kArrowCursor)));
  }
  float x = 0.f;
  float y = 0.f;
  if (TakeCursorRestore(x, y))
  {
    POINT restore{static_cast<LONG>(std::lround(x)), static_cast<LONG>(std::lround(y))};
    ClientToScreen(mWindow, &restore);
    SetCursorPos(restore.x, restore.y);
    mLastX = x;
    mLastY = y;
  }
}

void IGraphicsWin::FollowScreenScale()
{
  // The host's scale when it gave one, else the screen's.
  const float hostScale = GetDelegate().GetHostScreenScale();
  const float screenScale =
      hostScale > 0.f ? hostScale : static_cast<float>(ScreenScaleOf(mWindow));
  if (screenScale != GetScreenScale())
    SetScreenScale(screenScale);
}

void IGraphicsWin::AfterInput()
{
  if (mWindow && NeedsFrame() && !mFramesRunning)
  {
    StartFrameTimer();
    DrawAndPresent();
  }
}

void IGraphicsWin::OnButton(UINT message, WPARAM wParam, LPARAM lParam)
{
  const float x = MessageX(lParam);
  const float y = MessageY(lParam);
  IMouseMod mod = ModifiersOf(wParam);
  const bool left =
      message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK || message == WM_LBUTTONUP;
  mod.L = left;
  mod.R = !left;
  switch (message)
  {
  case WM_LBUTTONDOWN:
  case WM_RBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
  case WM_RBUTTONDBLCLK:
    // Wheel messages go to the window with the focus.
    SetFocus(mWindow);
    mButtonDown = true;
    if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN)
      OnMouseDown(x, y, mod);
    else
      OnMouseDblClick(x, y, mod);
    // A drag continues outside the window; a press that opened the host's menu grabbed nothing.
    if (mWindow && mButtonDown && (GetCapturedControl() || IsResizingInProcess()))
      SetCapture(mWindow);
    break;
  default:
    if ((wParam & (MK_LBUTTON | MK_RBUTTON)) == 0)
      mButtonDown = false;
    OnMouseUp(x, y, mod);
    if (mWindow && !mButtonDown && GetCapture() == mWindow)
      ReleaseCapture();
    break;
  }
  mLastX = x;
  mLastY = y;
}

void IGraphicsWin::OnMoveMessage(WPARAM wParam, LPARAM lParam)
{
  if (!mTrackingLeave)
  {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, mWindow, 0};
    mTrackingLeave = TrackMouseEvent(&track) != FALSE;
  }
  const float x = MessageX(lParam);
  const float y = MessageY(lParam);
  // Windows repeats the last position when a cursor changes or a window moves under it.
  if (x == mLastX && y == mLastY)
    return;
  const IMouseMod mod = ModifiersOf(wParam);
  if (mButtonDown && (mod.L || mod.R))
    OnMouseDrag(x, y, x - mLastX, y - mLastY, mod);
  else
  {
    mButtonDown = false;
    OnMouseOver(x, y, mod);
  }
  mLastX = x;
  mLastY = y;
}

void IGraphicsWin::OnWheelMessage(WPARAM wParam, LPARAM lParam)
{
  // Wheel positions are on the screen.
  POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ScreenToClient(mWindow, &at);
  IMouseMod mod = ModifiersOf(GET_KEYSTATE_WPARAM(wParam));
  mod.L = false;
  mod.R = false;
  const float steps = static_cast<float>(GET_WHEEL_DELTA_WPARAM(wParam)) / WHEEL_DELTA;
  OnMouseWheel(static_cast<float>(at.x), static_cast<float>(at.y), mod, steps);
}

void IGraphicsWin::OnCaptureLost()
{
  mButtonDown = false;
  IMouseMod mod;
  mod.L = true;
  OnMouseUp(mLastX, mLastY, mod);
}

void IGraphicsWin::WindowGone()
{
  if (mWindow)
    SetWindowLongPtrW(mWindow, GWLP_USERDATA, 0);
  mWindow = nullptr;
  mFramesRunning = false;
  mTrackingLeave = false;
  mButtonDown = false;
}

LRESULT CALLBACK IGraphicsWin::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
  if (message == WM_NCCREATE)
  {
    auto* self =
        static_cast<IGraphicsWin*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->mWindow = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<IGraphicsWin*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self)
    return DefWindowProcW(window, message, wParam, lParam);
  return self->OnMessage(message, wParam, lParam);
}

LRESULT IGraphicsWin::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
  const HWND window = mWindow;
  switch (message)
  {
  case WM_PAINT:
    OnPaint();
    return 0;
  case WM_ERASEBKGND:
    // Painting covers every pixel; erasing first would flicker.
    return 1;
  case WM_TIMER:
    if (wParam != kFrameTimerId)
      break;
    OnFrameTimer();
    return 0;
  case WM_LBUTTONDOWN:
  case WM_RBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
  case WM_RBUTTONDBLCLK:
  case WM_LBUTTONUP:
  case WM_RBUTTONUP:
    OnButton(message, wParam, lParam);
    AfterInput();
    return 0;
  case WM_MOUSEMOVE:
    OnMoveMessage(wParam, lParam);
    AfterInput();
    return 0;
  case WM_MOUSEWHEEL:
    OnWheelMessage(wParam, lParam);
    AfterInput();
    return 0;
  case WM_MOUSELEAVE:
    mTrackingLeave = false;
    if (!mButtonDown)
    {
      OnMouseOut();
      AfterInput();
    }
    return 0;
  case WM_CAPTURECHANGED:
    if (mButtonDown && reinterpret_cast<HWND>(lParam) != mWindow)
    {
      OnCaptureLost();
      AfterInput();
    }
    return 0;
  case WM_SETCURSOR:
    if (LOWORD(lParam) != HTCLIENT)
      break;
    ApplyCursor();
    return TRUE;
  case WM_KEYDOWN:
  case WM_KEYUP:
  case WM_SYSKEYDOWN:
  case WM_SYSKEYUP:
  case WM_CHAR:
    // The editor takes no keys; with the focus taken for the wheel, the host's shortcuts (the
    // transport's space bar) still reach the host.
    if (const HWND parent = GetParent(window))
      return SendMessageW(parent, message, wParam, lParam);
    break;
  case kDpiChangedAfterParent:
    FollowScreenScale();
    return 0;
  case WM_NCDESTROY:
    // The host destroyed its window (and this one with it) before closing the editor.
    WindowGone();
    break;
  default:
    break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace iplug::igraphics
