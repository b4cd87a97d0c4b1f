// The editor command's own top-level window, under a private X server: what a window manager
// and an embedded editor see of it, and its screenshots.
#include "tools/host/HostWindow.h"
#include "tests/support/XvfbSession.h"

#include <gtest/gtest.h>

// After GoogleTest: Xlib's macros would otherwise reach its headers.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cairo.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

namespace velmora::test
{
namespace
{

using host::HostEditorSize;
using host::HostWindow;

class HostWindowTest : public ::testing::Test
{
protected:
  static void SetUpTestSuite() { sXvfb = new XvfbSession(); }
  static void TearDownTestSuite()
  {
    delete sXvfb;
    sXvfb = nullptr;
  }

  void SetUp() override
  {
    ASSERT_TRUE(sXvfb->Running()) << "Xvfb did not start";
    // The test's own connection stands in for the window manager and for an embedded editor.
    display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    std::string error;
    window = HostWindow::Open("Velmora \u2013 Test", {300, 200}, error);
    ASSERT_TRUE(window) << error;
    png = std::filesystem::temp_directory_path() /
          ("velmora-host-window-" + std::to_string(::getpid()) + ".png");
  }

  void TearDown() override
  {
    window.reset();
    if (display)
      XCloseDisplay(display);
    std::filesystem::remove(png);
  }

  HostEditorSize Geometry() const
  {
    Window root = 0;
    int x = 0;
    int y = 0;
    unsigned width = 0;
    unsigned height = 0;
    unsigned border = 0;
    unsigned depth = 0;
    XGetGeometry(display, window->Id(), &root, &x, &y, &width, &height, &border, &depth);
    return {static_cast<int>(width), static_cast<int>(height)};
  }

  // A child window filled with one colour, as an embedded editor's window would be.
  Window AddChild(int x, int y, unsigned width, unsigned height, unsigned long rgb) const
  {
    const Window child = XCreateSimpleWindow(display, window->Id(), x, y, width, height, 0, 0, rgb);
    XMapWindow(display, child);
    XSync(display, False);
    return child;
  }

  static XvfbSession* sXvfb;
  Display* display = nullptr;
  std::unique_ptr<HostWindow> window;
  std::filesystem::path png;
};

XvfbSession* HostWindowTest::sXvfb = nullptr;

uint32_t PixelAt(cairo_surface_t* image, int x, int y)
{
  const unsigned char* row =
      cairo_image_surface_get_data(image) + y * cairo_image_surface_get_stride(image);
  return reinterpret_cast<const uint32_t*>(row)[x] & 0xFFFFFF;
}

TEST_F(HostWindowTest, CarriesTheTitleAndAFixedSizeThatFollowsResizes)
{
  EXPECT_EQ(Geometry(), (HostEditorSize{300, 200}));
  Atom type = 0;
  int format = 0;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* title = nullptr;
  ASSERT_EQ(XGetWindowProperty(display, window->Id(), XInternAtom(display, "_NET_WM_NAME", False),
                               0, 256, False, AnyPropertyType, &type, &format, &count, &after,
                               &title),
            Success);
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(title), count), "Velmora \u2013 Test");
  XFree(title);

  window->Resize({975, 600});
  EXPECT_EQ(Geometry(), (HostEditorSize{975, 600}));
  EXPECT_EQ(window->Size(), (HostEditorSize{975, 600}));
  XSizeHints hints{};
  long supplied = 0;
  ASSERT_TRUE(XGetWMNormalHints(display, window->Id(), &hints, &supplied));
  EXPECT_EQ(hints.min_width, 975);
  EXPECT_EQ(hints.max_width, 975);
  EXPECT_EQ(hints.min_height, 600);
  EXPECT_EQ(hints.max_height, 600);

  // Sizes an X11 window cannot have are ignored.
  for (const HostEditorSize bad : {HostEditorSize{0, 600}, HostEditorSize{40000, 600}})
  {
    window->Resize(bad);
    EXPECT_EQ(Geometry(), (HostEditorSize{975, 600}));
  }
}

TEST_F(HostWindowTest, AScreenshotHoldsTheEmbeddedWindowsContent)
{
  std::string error;
  EXPECT_FALSE(window->SavePng(png.string(), error)) << "not mapped yet";
  EXPECT_NE(error.find("not on screen"), std::string::npos) << error;

  window->Show();
  AddChild(0, 0, 300, 200, 0xC02020);
  AddChild(50, 40, 100, 60, 0x2040E0);
  ASSERT_TRUE(window->SavePng(png.string(), error)) << error;

  cairo_surface_t* image = cairo_image_surface_create_from_png(png.c_str());
  ASSERT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
  EXPECT_EQ(cairo_image_surface_get_width(image), 300);
  EXPECT_EQ(cairo_image_surface_get_height(image), 200);
  EXPECT_EQ(PixelAt(image, 10, 10), 0xC02020u);
  EXPECT_EQ(PixelAt(image, 60, 50), 0x2040E0u);
  EXPECT_EQ(PixelAt(image, 299, 199), 0xC02020u);
  cairo_surface_destroy(image);

  EXPECT_FALSE(window->SavePng("/nonexistent-folder/shot.png", error));
  EXPECT_NE(error.find("cannot write"), std::string::npos) << error;
}

TEST_F(HostWindowTest, TheWindowManagersDeleteRequestAsksToClose)
{
  window->Show();
  window->ServeEvents();
  EXPECT_FALSE(window->CloseRequested());
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window->Id();
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  XSendEvent(display, window->Id(), False, NoEventMask, &event);
  XSync(display, False);
  for (int attempt = 0; attempt < 1000 && !window->CloseRequested(); ++attempt)
  {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    window->ServeEvents();
  }
  EXPECT_TRUE(window->CloseRequested());
}

} // namespace
} // namespace velmora::test
