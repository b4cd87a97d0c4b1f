#include "tools/host/HostWindow.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cairo.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>

namespace velmora::host
{

namespace
{

// Set while a screenshot reads the window; the capture fails instead of ending the process.
bool gCaptureFailed = false;

int NoteCaptureError(Display*, XErrorEvent*)
{
  gCaptureFailed = true;
  return 0;
}

// The 8-bit colour component that a pixel holds under the mask.
uint32_t Component(unsigned long pixel, unsigned long mask)
{
  if (mask == 0)
    return 0;
  const int shift = std::countr_zero(mask);
  const unsigned long maximum = mask >> shift;
  return static_cast<uint32_t>(((pixel & mask) >> shift) * 255 / maximum);
}

} // namespace

// A connection of its own, so that the window's events are the host's alone.
struct HostWindow::Native
{
  Display* display;
  Window window;
  Atom deleteAtom;
};

std::unique_ptr<HostWindow> HostWindow::Open(const std::string& title, const HostEditorSize& size,
                                             std::string& error)
{
  const char* name = std::getenv("DISPLAY");
  if (!name || !*name)
  {
    error = "no X display: DISPLAY is not set";
    return nullptr;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display)
  {
    error = std::string("cannot open the X display \"") + name + "\"";
    return nullptr;
  }
  const int screen = DefaultScreen(display);
  XSetWindowAttributes attributes{};
  attributes.background_pixel = BlackPixel(display, screen);
  attributes.event_mask = StructureNotifyMask;
  const Window window =
      XCreateWindow(display, RootWindow(display, screen), 0, 0, static_cast<unsigned>(size.width),
                    static_cast<unsigned>(size.height), 0, CopyFromParent, InputOutput,
                    CopyFromParent, CWBackPixel | CWEventMask, &attributes);

  const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  const auto* text = reinterpret_cast<const unsigned char*>(title.data());
  const auto length = static_cast<int>(title.size());
  XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False), utf8, 8,
                  PropModeReplace, text, length);
  XChangeProperty(display, window, XA_WM_NAME, utf8, 8, PropModeReplace, text, length);
  XClassHint classHint{};
  std::string instanceName = "velmora-host";
  std::string className = "Velmora-host";
  classHint.res_name = instanceName.data();
  classHint.res_class = className.data();
  XSetClassHint(display, window, &classHint);
  Atom deleteAtom = XInternAtom(display, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(display, window, &deleteAtom, 1);

  std::unique_ptr<HostWindow> host(
      new HostWindow(std::make_unique<Native>(Native{display, window, deleteAtom}), size));
  host->FixSize();
  // The editor names this window as its parent on a connection of its own: the window must exist
  // on the server before the editor's requests can arrive.
  XSync(display, False);
  return host;
}

HostWindow::HostWindow(std::unique_ptr<Native> native, const HostEditorSize& size)
    : mNative(std::move(native)), mSize(size)
{
}

HostWindow::~HostWindow()
{
  XDestroyWindow(mNative->display, mNative->window);
  XCloseDisplay(mNative->display);
}

NativeWindow HostWindow::Id() const
{
  return mNative->window;
}

void HostWindow::FixSize()
{
  XSizeHints* hints = XAllocSizeHints();
  if (!hints)
    return;
  hints->flags = PMinSize | PMaxSize;
  hints->min_width = hints->max_width = mSize.width;
  hints->min_height = hints->max_height = mSize.height;
  XSetWMNormalHints(mNative->display, mNative->window, hints);
  XFree(hints);
}

void HostWindow::Resize(const HostEditorSize& size)
{
  if (size.width < 1 || size.height < 1 || size.width > kMaxEditorSide ||
      size.height > kMaxEditorSide)
    return;
  mSize = size;
  FixSize();
  XResizeWindow(mNative->display, mNative->window, static_cast<unsigned>(size.width),
                static_cast<unsigned>(size.height));
  // Done on the server before the editor, on its own connection, is told its new size.
  XSync(mNative->display, False);
}

void HostWindow::Show()
{
  XMapRaised(mNative->display, mNative->window);
  XSync(mNative->display, False);
}

void HostWindow::ServeEvents()
{
  while (XPending(mNative->display) > 0)
  {
    XEvent event;
    XNextEvent(mNative->display, &event);
    if (event.type == ClientMessage && event.xclient.window == mNative->window &&
        static_cast<Atom>(event.xclient.data.l[0]) == mNative->deleteAtom)
      mCloseRequested = true;
    else if (event.type == DestroyNotify && event.xdestroywindow.window == mNative->window)
      mCloseRequested = true;
  }
}

void HostWindow::RequestClose()
{
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = mNative->window;
  event.xclient.message_type = XInternAtom(mNative->display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(mNative->deleteAtom);
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(mNative->display, mNative->window, False, NoEventMask, &event);
  XFlush(mNative->display);
}

bool HostWindow::SavePng(const std::string& path, std::string& error)
{
  XWindowAttributes attributes{};
  if (!XGetWindowAttributes(mNative->display, mNative->window, &attributes) ||
      attributes.map_state != IsViewable)
  {
    error = "the window is not on screen";
    return false;
  }
  // Only what is on the screen can be read back.
  int x = 0;
  int y = 0;
  Window child = 0;
  XTranslateCoordinates(mNative->display, mNative->window, attributes.root, 0, 0, &x, &y, &child);
  const Screen* screen = attributes.screen;
  if (x < 0 || y < 0 || x + attributes.width > WidthOfScreen(screen) ||
      y + attributes.height > HeightOfScreen(screen))
  {
    error = "the window is not entirely on screen";
    return false;
  }

  gCaptureFailed = false;
  XSync(mNative->display, False);
  const auto previous = XSetErrorHandler(&NoteCaptureError);
  XImage* image =
      XGetImage(mNative->display, mNative->window, 0, 0, static_cast<unsigned>(attributes.width),
                static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
  XSync(mNative->display, False);
  XSetErrorHandler(previous);
  if (!image || gCaptureFailed)
  {
    if (image)
      XDestroyImage(image);
    error = "the X server did not give the window's content";
    return false;
  }

  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, image->width, image->height);
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int row = 0; data && row < image->height; ++row)
  {
    auto* out = reinterpret_cast<uint32_t*>(data + static_cast<ptrdiff_t>(row) * stride);
    for (int column = 0; column < image->width; ++column)
    {
      const unsigned long pixel = XGetPixel(image, column, row);
      out[column] = Component(pixel, image->red_mask) << 16 |
                    Component(pixel, image->green_mask) << 8 | Component(pixel, image->blue_mask);
    }
  }
  XDestroyImage(image);
  cairo_surface_mark_dirty(surface);
  const cairo_status_t status =
      data ? cairo_surface_write_to_png(surface, path.c_str()) : cairo_surface_status(surface);
  cairo_surface_destroy(surface);
  if (status != CAIRO_STATUS_SUCCESS)
  {
    error = "cannot write " + path + ": " + cairo_status_to_string(status);
    return false;
  }
  return true;
}

} // namespace velmora::host
