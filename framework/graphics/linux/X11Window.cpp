#include "framework/graphics/linux/X11Window.h"

#include <X11/Xlib.h>
#include <X11/Xresource.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <cairo-xlib.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace iplug::igraphics
{

namespace
{
// Two presses of the same button this close in time and place make a double-click.
constexpr unsigned long kDoubleClickMs = 400;
constexpr int kDoubleClickDistance = 4;

constexpr unsigned kWheelUp = 4;
constexpr unsigned kWheelDown = 5;
} // namespace

struct X11Window::Connection
{
  Display* display = nullptr;
  Cursor arrow = 0;
  Cursor sizeNWSE = 0;
  Cursor blank = 0;

  ~Connection()
  {
    if (display == nullptr)
      return;
    for (const Cursor cursor : {arrow, sizeNWSE, blank})
    {
      if (cursor != 0)
        XFreeCursor(display, cursor);
    }
    XCloseDisplay(display);
  }
};

float ScreenScaleFromResources(const char* resources)
{
  if (resources == nullptr)
    return 1.f;
  const std::string_view text(resources);
  constexpr std::string_view kKey = "Xft.dpi:";
  std::size_t pos = 0;
  while ((pos = text.find(kKey, pos)) != std::string_view::npos)
  {
    // Only a key at the start of a line counts.
    if (pos == 0 || text[pos - 1] == '\n')
    {
      const std::string value(
          text.substr(pos + kKey.size(), text.find('\n', pos) - pos - kKey.size()));
      char* end = nullptr;
      const double dpi = std::strtod(value.c_str(), &end);
      if (end != value.c_str() && std::isfinite(dpi) && dpi > 0.0)
        return static_cast<float>(std::max(1.0, std::round(dpi / 96.0)));
      return 1.f;
    }
    pos += kKey.size();
  }
  return 1.f;
}

std::unique_ptr<X11Window> X11Window::Open(unsigned long parent, int width, int height)
{
  auto connection = std::make_unique<Connection>();
  connection->display = XOpenDisplay(nullptr);
  if (connection->display == nullptr || parent == 0)
    return nullptr;
  Display* display = connection->display;

  XWindowAttributes parentAttributes;
  if (XGetWindowAttributes(display, parent, &parentAttributes) == 0)
    return nullptr;

  XSetWindowAttributes attributes{};
  attributes.event_mask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                          EnterWindowMask | LeaveWindowMask | ExposureMask | StructureNotifyMask;
  attributes.background_pixel = BlackPixel(display, DefaultScreen(display));
  const Window window =
      XCreateWindow(display, parent, 0, 0, static_cast<unsigned>(std::max(1, width)),
                    static_cast<unsigned>(std::max(1, height)), 0, CopyFromParent, InputOutput,
                    CopyFromParent, CWEventMask | CWBackPixel, &attributes);

  connection->arrow = XCreateFontCursor(display, XC_left_ptr);
  connection->sizeNWSE = XCreateFontCursor(display, XC_bottom_right_corner);
  const char emptyBits[1] = {0};
  const Pixmap empty = XCreateBitmapFromData(display, window, emptyBits, 1, 1);
  XColor black{};
  connection->blank = XCreatePixmapCursor(display, empty, empty, &black, &black, 0, 0);
  XFreePixmap(display, empty);
  XDefineCursor(display, window, connection->arrow);

  XMapWindow(display, window);
  XFlush(display);
  return std::unique_ptr<X11Window>(new X11Window(std::move(connection), window, width, height));
}

X11Window::X11Window(std::unique_ptr<Connection> connection, unsigned long window, int width,
                     int height)
    : mConnection(std::move(connection)), mWindow(window), mWidth(width), mHeight(height)
{
  Display* display = mConnection->display;
  mWindowSurface.reset(cairo_xlib_surface_create(display, mWindow,
                                                 DefaultVisual(display, DefaultScreen(display)),
                                                 std::max(1, width), std::max(1, height)));
}

X11Window::~X11Window()
{
  // The cairo surface refers to the window; it goes first, the window before the connection.
  // Cairo keeps per-connection state (images for drawing, shared memory) in its device, which
  // must be finished while the connection is still open.
  cairo_device_t* device = cairo_device_reference(cairo_surface_get_device(mWindowSurface.get()));
  mWindowSurface.reset();
  XDestroyWindow(mConnection->display, mWindow);
  XSync(mConnection->display, False);
  if (device != nullptr)
  {
    cairo_device_finish(device);
    cairo_device_destroy(device);
  }
}

unsigned long X11Window::WindowId() const
{
  return mWindow;
}

int X11Window::ConnectionFd() const
{
  return ConnectionNumber(mConnection->display);
}

float X11Window::ScreenScale() const
{
  return ScreenScaleFromResources(XResourceManagerString(mConnection->display));
}

void X11Window::HandleButton(bool press, unsigned button, unsigned state, int x, int y,
                             unsigned long time, const MouseHandler& onMouse)
{
  WindowMouseEvent event;
  event.x = static_cast<float>(x);
  event.y = static_cast<float>(y);
  event.shift = (state & ShiftMask) != 0;
  event.control = (state & ControlMask) != 0;
  event.alt = (state & Mod1Mask) != 0;
  if (button == kWheelUp || button == kWheelDown)
  {
    if (!press)
      return;
    event.kind = WindowMouseEvent::Kind::Wheel;
    event.wheel = button == kWheelUp ? 1.f : -1.f;
    onMouse(event);
    return;
  }
  if (button != Button1 && button != Button3)
    return;
  event.left = button == Button1;
  event.right = button == Button3;
  if (!press)
  {
    event.kind = WindowMouseEvent::Kind::Up;
    onMouse(event);
    return;
  }
  const bool doubleClick = button == mLastPressButton && time - mLastPressTime <= kDoubleClickMs &&
                           std::abs(x - mLastPressX) <= kDoubleClickDistance &&
                           std::abs(y - mLastPressY) <= kDoubleClickDistance;
  event.kind = doubleClick ? WindowMouseEvent::Kind::DoubleClick : WindowMouseEvent::Kind::Down;
  // A third press starts a new pair rather than making another double-click.
  mLastPressButton = doubleClick ? 0 : button;
  mLastPressTime = time;
  mLastPressX = x;
  mLastPressY = y;
  onMouse(event);
}

bool X11Window::HasQueuedEvents() const
{
  return XEventsQueued(mConnection->display, QueuedAlready) > 0;
}

void X11Window::ProcessEvents(const MouseHandler& onMouse, const ExposeHandler& onExpose)
{
  Display* display = mConnection->display;
  while (XPending(display) > 0)
  {
    XEvent event;
    XNextEvent(display, &event);
    if (event.xany.window != mWindow)
      continue;
    switch (event.type)
    {
    case ButtonPress:
    case ButtonRelease:
      HandleButton(event.type == ButtonPress, event.xbutton.button, event.xbutton.state,
                   event.xbutton.x, event.xbutton.y, event.xbutton.time, onMouse);
      break;
    case MotionNotify:
    {
      WindowMouseEvent mouse;
      mouse.kind = WindowMouseEvent::Kind::Move;
      mouse.x = static_cast<float>(event.xmotion.x);
      mouse.y = static_cast<float>(event.xmotion.y);
      const unsigned state = event.xmotion.state;
      mouse.left = (state & Button1Mask) != 0;
      mouse.right = (state & Button3Mask) != 0;
      mouse.shift = (state & ShiftMask) != 0;
      mouse.control = (state & ControlMask) != 0;
      mouse.alt = (state & Mod1Mask) != 0;
      onMouse(mouse);
      break;
    }
    case EnterNotify:
    case LeaveNotify:
    {
      WindowMouseEvent mouse;
      mouse.kind =
          event.type == EnterNotify ? WindowMouseEvent::Kind::Enter : WindowMouseEvent::Kind::Leave;
      mouse.x = static_cast<float>(event.xcrossing.x);
      mouse.y = static_cast<float>(event.xcrossing.y);
      onMouse(mouse);
      break;
    }
    case Expose:
      onExpose(
          PixelRect{event.xexpose.x, event.xexpose.y, event.xexpose.width, event.xexpose.height});
      break;
    default:
      break;
    }
  }
}

void X11Window::Present(cairo_surface_t* image, std::span<const PixelRect> areas)
{
  if (image == nullptr ||
      std::all_of(areas.begin(), areas.end(), [](const PixelRect& a) { return a.Empty(); }))
    return;
  cairo_t* cr = cairo_create(mWindowSurface.get());
  for (const PixelRect& area : areas)
  {
    if (!area.Empty())
      cairo_rectangle(cr, area.x, area.y, area.w, area.h);
  }
  cairo_clip(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_surface(cr, image, 0, 0);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_flush(mWindowSurface.get());
  XSync(mConnection->display, False);
}

void X11Window::Resize(int width, int height)
{
  mWidth = std::max(1, width);
  mHeight = std::max(1, height);
  XResizeWindow(mConnection->display, mWindow, static_cast<unsigned>(mWidth),
                static_cast<unsigned>(mHeight));
  cairo_xlib_surface_set_size(mWindowSurface.get(), mWidth, mHeight);
  // Done on the server before anyone (the host, another connection) looks at the window.
  XSync(mConnection->display, False);
}

void X11Window::SetCursor(EWindowCursor cursor)
{
  if (cursor == mCursor)
    return;
  mCursor = cursor;
  const Cursor xCursor = cursor == EWindowCursor::SizeNWSE ? mConnection->sizeNWSE
                         : cursor == EWindowCursor::Hidden ? mConnection->blank
                                                           : mConnection->arrow;
  XDefineCursor(mConnection->display, mWindow, xCursor);
  XFlush(mConnection->display);
}

void X11Window::SetVisible(bool visible)
{
  if (visible)
    XMapWindow(mConnection->display, mWindow);
  else
    XUnmapWindow(mConnection->display, mWindow);
  XFlush(mConnection->display);
}

void X11Window::MovePointer(int x, int y)
{
  XWarpPointer(mConnection->display, None, mWindow, 0, 0, 0, 0, x, y);
  XFlush(mConnection->display);
}

void X11Window::Flush()
{
  XFlush(mConnection->display);
}

} // namespace iplug::igraphics
