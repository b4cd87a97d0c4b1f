// GoogleTest comes before Xlib, whose macros (None, Bool, ...) would clash with it.
#include <gtest/gtest.h>

#include "framework/graphics/linux/X11Window.h"
#include "tests/support/XvfbSession.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <cstdlib>
#include <poll.h>
#include <vector>

using iplug::igraphics::PixelRect;
using iplug::igraphics::ScreenScaleFromResources;
using iplug::igraphics::WindowMouseEvent;
using iplug::igraphics::X11Window;
using Kind = WindowMouseEvent::Kind;

namespace
{

TEST(ScreenScaleFromResources, ReadsXftDpiAtTheStartOfALine)
{
  struct Case
  {
    const char* resources;
    float scale;
  };
  const Case cases[] = {
      {nullptr, 1.f},           {"", 1.f},
      {"Xft.dpi:\t96\n", 1.f},  {"Xft.antialias:\t1\nXft.dpi:\t192\nXft.hinting:\t1\n", 2.f},
      {"Xft.dpi: 144", 2.f},    {"Xft.dpi:\t120\n", 1.f},
      {"Xft.dpi:\t288\n", 3.f}, {"Xft.dpi:\tlarge\n", 1.f},
      {"Xft.dpi:\t-96\n", 1.f}, {"My.Xft.dpi:\t192\n", 1.f},
  };
  for (const Case& c : cases)
    EXPECT_FLOAT_EQ(ScreenScaleFromResources(c.resources), c.scale)
        << (c.resources ? c.resources : "(null)");
}

// A host's top-level window on a private X server, and the editor window inside it.
class X11WindowTest : public ::testing::Test
{
protected:
  static void SetUpTestSuite() { sXvfb = new velmora::test::XvfbSession(); }
  static void TearDownTestSuite()
  {
    delete sXvfb;
    sXvfb = nullptr;
  }

  void SetUp() override
  {
    ASSERT_TRUE(sXvfb->Running()) << "Xvfb did not start";
    mHost = XOpenDisplay(nullptr);
    ASSERT_NE(mHost, nullptr);
    mParent = XCreateSimpleWindow(mHost, DefaultRootWindow(mHost), 50, 60, 300, 200, 0, 0, 0);
    XMapWindow(mHost, mParent);
    XSync(mHost, False);
    mWindow = X11Window::Open(mParent, 120, 90);
    ASSERT_NE(mWindow, nullptr);
    WaitUntilViewable();
  }

  void TearDown() override
  {
    mWindow.reset();
    if (mHost != nullptr)
    {
      XDestroyWindow(mHost, mParent);
      XCloseDisplay(mHost);
    }
  }

  void WaitUntilViewable() const
  {
    for (int i = 0; i < 200; ++i)
    {
      XWindowAttributes attributes;
      XGetWindowAttributes(mHost, mWindow->WindowId(), &attributes);
      if (attributes.map_state == IsViewable)
        return;
      ::usleep(5000);
    }
    FAIL() << "window never became viewable";
  }

  // Root coordinates of a point in the editor window.
  void MoveTo(int x, int y) const
  {
    int rootX = 0;
    int rootY = 0;
    Window child = 0;
    XTranslateCoordinates(mHost, mWindow->WindowId(), DefaultRootWindow(mHost), x, y, &rootX,
                          &rootY, &child);
    XTestFakeMotionEvent(mHost, DefaultScreen(mHost), rootX, rootY, CurrentTime);
    XSync(mHost, False);
  }

  // With sync false the request waits in the buffer, so that several reach the server together
  // and carry nearly the same time stamp (a loaded machine must not split a double-click).
  void Button(unsigned button, bool press, bool sync = true) const
  {
    XTestFakeButtonEvent(mHost, button, press ? True : False, CurrentTime);
    if (sync)
      XSync(mHost, False);
  }

  // Collects events until count have arrived (or two seconds pass).
  std::vector<WindowMouseEvent> Collect(std::size_t count, Kind skip = Kind::Enter)
  {
    std::vector<WindowMouseEvent> events;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (events.size() < count && std::chrono::steady_clock::now() < deadline)
    {
      pollfd fd{mWindow->ConnectionFd(), POLLIN, 0};
      ::poll(&fd, 1, 20);
      mWindow->ProcessEvents(
          [&](const WindowMouseEvent& e)
          {
            if (e.kind != skip && e.kind != Kind::Leave && e.kind != Kind::Enter)
              events.push_back(e);
          },
          [](const PixelRect&) {});
    }
    return events;
  }

  static velmora::test::XvfbSession* sXvfb;
  Display* mHost = nullptr;
  Window mParent = 0;
  std::unique_ptr<X11Window> mWindow;
};

velmora::test::XvfbSession* X11WindowTest::sXvfb = nullptr;

TEST_F(X11WindowTest, IsAChildOfTheHostWindowAtItsSize)
{
  Window root = 0;
  Window parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  XQueryTree(mHost, mWindow->WindowId(), &root, &parent, &children, &count);
  XFree(children);
  EXPECT_EQ(parent, mParent);
  XWindowAttributes attributes;
  XGetWindowAttributes(mHost, mWindow->WindowId(), &attributes);
  EXPECT_EQ(attributes.width, 120);
  EXPECT_EQ(attributes.height, 90);

  mWindow->Resize(240, 180);
  XSync(mHost, False);
  XGetWindowAttributes(mHost, mWindow->WindowId(), &attributes);
  EXPECT_EQ(attributes.width, 240);
  EXPECT_EQ(attributes.height, 180);
}

TEST_F(X11WindowTest, RefusesAMissingParentOrDisplay)
{
  EXPECT_EQ(X11Window::Open(0, 10, 10), nullptr);
  const std::string display = sXvfb->Display();
  ::setenv("DISPLAY", ":9999", 1);
  EXPECT_EQ(X11Window::Open(mParent, 10, 10), nullptr);
  ::setenv("DISPLAY", display.c_str(), 1);
}

TEST_F(X11WindowTest, PresentCopiesOnlyTheGivenArea)
{
  cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 120, 90);
  cairo_t* cr = cairo_create(image);
  cairo_set_source_rgb(cr, 1, 0, 0);
  cairo_paint(cr);
  cairo_destroy(cr);
  mWindow->Present(image, PixelRect{0, 0, 120, 90});
  cr = cairo_create(image);
  cairo_set_source_rgb(cr, 0, 0, 1);
  cairo_paint(cr);
  cairo_destroy(cr);
  mWindow->Present(image, PixelRect{10, 20, 30, 40});
  cairo_surface_destroy(image);
  XSync(mHost, False);

  XImage* shot = XGetImage(mHost, mWindow->WindowId(), 0, 0, 120, 90, AllPlanes, ZPixmap);
  ASSERT_NE(shot, nullptr);
  EXPECT_EQ(XGetPixel(shot, 5, 5) & 0xffffff, 0xff0000u);
  EXPECT_EQ(XGetPixel(shot, 10, 20) & 0xffffff, 0x0000ffu);
  EXPECT_EQ(XGetPixel(shot, 39, 59) & 0xffffff, 0x0000ffu);
  EXPECT_EQ(XGetPixel(shot, 40, 60) & 0xffffff, 0xff0000u);
  XDestroyImage(shot);
}

TEST_F(X11WindowTest, ClicksDoubleClicksWheelAndModifiers)
{
  MoveTo(30, 40);
  Collect(1); // the motion into the window
  Button(1, true, false);
  Button(1, false, false);
  Button(1, true, false);
  Button(1, false);
  Button(4, true);
  Button(4, false);
  Button(5, true);
  Button(5, false);
  const KeyCode shift = XKeysymToKeycode(mHost, XK_Shift_L);
  XTestFakeKeyEvent(mHost, shift, True, CurrentTime);
  Button(3, true);
  Button(3, false);
  XTestFakeKeyEvent(mHost, shift, False, CurrentTime);
  XSync(mHost, False);

  const std::vector<WindowMouseEvent> events = Collect(8, Kind::Move);
  ASSERT_EQ(events.size(), 8u);
  const Kind expected[] = {Kind::Down,  Kind::Up,    Kind::DoubleClick, Kind::Up,
                           Kind::Wheel, Kind::Wheel, Kind::Down,        Kind::Up};
  for (std::size_t i = 0; i < 8; ++i)
    EXPECT_EQ(events[i].kind, expected[i]) << "event " << i;
  EXPECT_FLOAT_EQ(events[0].x, 30.f);
  EXPECT_FLOAT_EQ(events[0].y, 40.f);
  EXPECT_TRUE(events[0].left);
  EXPECT_FALSE(events[0].shift);
  EXPECT_FLOAT_EQ(events[4].wheel, 1.f);
  EXPECT_FLOAT_EQ(events[5].wheel, -1.f);
  EXPECT_TRUE(events[6].right);
  EXPECT_TRUE(events[6].shift);
}

TEST_F(X11WindowTest, ADragKeepsReportingMotionOutsideTheWindow)
{
  MoveTo(60, 50);
  Collect(1);
  Button(1, true);
  MoveTo(200, 150); // beyond the 120 x 90 window, inside the host's window
  MoveTo(260, 190);
  Button(1, false);
  const std::vector<WindowMouseEvent> events = Collect(4);
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events[0].kind, Kind::Down);
  EXPECT_EQ(events[1].kind, Kind::Move);
  EXPECT_TRUE(events[1].left);
  EXPECT_FLOAT_EQ(events[1].x, 200.f);
  EXPECT_FLOAT_EQ(events[2].y, 190.f);
  EXPECT_EQ(events[3].kind, Kind::Up);
}

} // namespace
