#pragma once

#include "framework/graphics/IDrawContext.h"

#include <cairo.h>

#include <functional>
#include <memory>
#include <span>

namespace iplug::igraphics
{

enum class EWindowCursor
{
  Arrow,
  SizeNWSE,
  Hidden
};

// One mouse event read from the X connection, in window pixels.
struct WindowMouseEvent
{
  enum class Kind
  {
    Down,
    Up,
    Move,
    DoubleClick,
    Wheel,
    Enter,
    Leave
  };
  Kind kind = Kind::Move;
  float x = 0.f;
  float y = 0.f;
  bool left = false;
  bool right = false;
  bool shift = false;
  bool control = false;
  bool alt = false;
  // Wheel steps, positive away from the user.
  float wheel = 0.f;
};

// The editor's X11 child window inside the host's window, with its own connection to the X
// server. It reads events, shows parts of an image that the graphics context drew, and sets
// cursors. Main thread only, like every X11 and cairo call.
class X11Window
{
public:
  using MouseHandler = std::function<void(const WindowMouseEvent&)>;
  using ExposeHandler = std::function<void(const PixelRect&)>;

  // A child window of parent, or nullptr when there is no display or no such parent.
  static std::unique_ptr<X11Window> Open(unsigned long parent, int width, int height);
  ~X11Window();
  X11Window(const X11Window&) = delete;
  X11Window& operator=(const X11Window&) = delete;

  unsigned long WindowId() const;
  // The connection's descriptor, for the host's run loop.
  int ConnectionFd() const;
  // The X server's Xft.dpi / 96, rounded; 1 when the server does not say.
  float ScreenScale() const;

  // Reads every event waiting on the connection and hands each on.
  void ProcessEvents(const MouseHandler& onMouse, const ExposeHandler& onExpose);
  // Whether events already read from the connection wait in its buffer; reads nothing.
  bool HasQueuedEvents() const;
  // Copies the areas of image (ARGB32, same pixel size as the window) to the window.
  void Present(cairo_surface_t* image, std::span<const PixelRect> areas);
  void Present(cairo_surface_t* image, const PixelRect& area)
  {
    Present(image, std::span<const PixelRect>(&area, 1));
  }
  void Resize(int width, int height);
  int Width() const { return mWidth; }
  int Height() const { return mHeight; }
  void SetCursor(EWindowCursor cursor);
  // Maps or unmaps the window inside its parent.
  void SetVisible(bool visible);
  // Puts the pointer at a window position (where a hidden-cursor drag started).
  void MovePointer(int x, int y);
  void Flush();

private:
  struct Connection;
  X11Window(std::unique_ptr<Connection> connection, unsigned long window, int width, int height);
  void HandleButton(bool press, unsigned button, unsigned state, int x, int y, unsigned long time,
                    const MouseHandler& onMouse);

  std::unique_ptr<Connection> mConnection;
  unsigned long mWindow;
  int mWidth;
  int mHeight;
  struct SurfaceDeleter
  {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
  };
  std::unique_ptr<cairo_surface_t, SurfaceDeleter> mWindowSurface;
  EWindowCursor mCursor = EWindowCursor::Arrow;
  unsigned long mLastPressTime = 0;
  unsigned mLastPressButton = 0;
  int mLastPressX = -1000;
  int mLastPressY = -1000;
};

// Parses the "Xft.dpi" entry out of an X resource string; 1 when absent or not a number.
float ScreenScaleFromResources(const char* resources);

} // namespace iplug::igraphics
