// The built modules' editors in a host window on a private X server, with audio through the
// plug-in: on silence the editor stops drawing and gives up its frame timer; its meters are fed
// only while it is open, and each opening starts them from zero.
// GoogleTest comes before Xlib, whose macros (None, Bool, ...) would clash with it.
#include <gtest/gtest.h>

#include "tests/support/XvfbSession.h"
#include "tools/host/HostWindow.h"
#include "tools/host/HostedPlugin.h"
#include "tools/host/HostedPluginLoader.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <cairo.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace velmora::test
{
namespace
{

using namespace std::chrono_literals;
using host::HostEditorSize;

constexpr int kBlock = 256;
constexpr int kBlocksPerIdleTick = 4;

// The RGB of every pixel of a PNG file; empty when it cannot be read.
std::vector<uint32_t> ReadPixels(const std::filesystem::path& path)
{
  std::vector<uint32_t> pixels;
  cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
  if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS)
  {
    cairo_surface_flush(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    for (int y = 0; y < cairo_image_surface_get_height(surface); ++y)
    {
      const auto* row = reinterpret_cast<const uint32_t*>(data + y * stride);
      for (int x = 0; x < cairo_image_surface_get_width(surface); ++x)
        pixels.push_back(row[x] & 0xFFFFFFu);
    }
  }
  cairo_surface_destroy(surface);
  return pixels;
}

class EditorRestModule : public ::testing::TestWithParam<const char*>
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
    mFolder = std::filesystem::temp_directory_path() /
              ("velmora-editor-rest-" + std::to_string(::getpid()));
    std::filesystem::create_directories(mFolder);
    mDisplay = XOpenDisplay(nullptr);
    ASSERT_NE(mDisplay, nullptr);
    int errorBase = 0;
    ASSERT_TRUE(XDamageQueryExtension(mDisplay, &mDamageEventBase, &errorBase));
    std::string error;
    mPlugin = host::LoadHostedPlugin(GetParam(), error);
    ASSERT_TRUE(mPlugin) << error;
    mWindow = host::HostWindow::Open("Velmora test", {650, 400}, error);
    ASSERT_TRUE(mWindow) << error;
    mPlugin->SetResizeHandler([this](const HostEditorSize& size) { mWindow->Resize(size); });
    host::ProcessSetup setup;
    setup.maxBlockSize = kBlock;
    ASSERT_TRUE(mPlugin->Start(setup, error)) << error;
    mClosedRegistrations = mPlugin->RunLoopRegistrations();
    // Away from the window, so that nothing shows a hover.
    XWarpPointer(mDisplay, 0, DefaultRootWindow(mDisplay), 0, 0, 0, 0, 1590, 1190);
    XSync(mDisplay, False);
  }

  void TearDown() override
  {
    if (mPlugin)
    {
      mPlugin->CloseEditor();
      mPlugin->Stop();
    }
    mPlugin.reset();
    mWindow.reset();
    // Closing the connection frees its damage object, if the editor's window has not already.
    if (mDisplay != nullptr)
      XCloseDisplay(mDisplay);
    std::filesystem::remove_all(mFolder);
  }

  void OpenEditor()
  {
    std::string error;
    ASSERT_TRUE(mPlugin->OpenEditor(mWindow->Id(), std::nullopt, error)) << error;
    mWindow->Resize(mPlugin->EditorSize().value_or(HostEditorSize{650, 400}));
    mWindow->Show();
    for (int pass = 0; pass < 100 && EditorWindow() == 0; ++pass)
      Serve(10ms);
    ASSERT_NE(EditorWindow(), 0u) << "the editor never showed";
  }

  // The editor's window: the host window's child, once it is on screen.
  unsigned long EditorWindow() const
  {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (XQueryTree(mDisplay, mWindow->Id(), &root, &parent, &children, &count) != 0 && count == 1)
    {
      XWindowAttributes attributes{};
      if (XGetWindowAttributes(mDisplay, children[0], &attributes) != 0 &&
          attributes.map_state == IsViewable)
        found = children[0];
    }
    if (children != nullptr)
      XFree(children);
    return found;
  }

  void Serve(std::chrono::milliseconds duration)
  {
    mPlugin->RunEventLoop(duration);
    mWindow->ServeEvents();
  }

  void Process(double level, int blocks, int frames = kBlock)
  {
    std::vector<double> left(static_cast<size_t>(frames));
    std::vector<double> right(static_cast<size_t>(frames));
    for (int block = 0; block < blocks; ++block)
    {
      std::fill(left.begin(), left.end(), level);
      std::fill(right.begin(), right.end(), -level);
      std::vector<double*> channels{left.data(), right.data()};
      ASSERT_TRUE(mPlugin->Process(channels, frames, {}));
    }
  }

  // Plays a constant level for the duration, a little more than real time, as a host would
  // between the run loop's turns.
  void Play(double level, std::chrono::milliseconds duration)
  {
    for (auto played = 0ms; played < duration; played += 20ms)
    {
      Process(level, kBlocksPerIdleTick);
      Serve(20ms);
    }
  }

  // Drawing reported on the editor's window since the last call.
  int TakeDamage()
  {
    if (mDamage == 0)
    {
      mDamage = XDamageCreate(mDisplay, EditorWindow(), XDamageReportRawRectangles);
      XSync(mDisplay, False);
    }
    int count = 0;
    XSync(mDisplay, False);
    while (XPending(mDisplay) > 0)
    {
      XEvent event;
      XNextEvent(mDisplay, &event);
      count += event.type == mDamageEventBase + XDamageNotify;
    }
    return count;
  }

  std::vector<uint32_t> Screenshot()
  {
    const std::filesystem::path shot = mFolder / "host.png";
    std::string error;
    return mWindow->SavePng(shot.string(), error) ? ReadPixels(shot) : std::vector<uint32_t>{};
  }

  inline static XvfbSession* sXvfb = nullptr;
  std::filesystem::path mFolder;
  Display* mDisplay = nullptr;
  int mDamageEventBase = 0;
  Damage mDamage = 0;
  host::HostRunLoopCounts mClosedRegistrations;
  // Declared before the plug-in so that it goes after it: the editor is its child window.
  std::unique_ptr<host::HostWindow> mWindow;
  std::unique_ptr<host::HostedPlugin> mPlugin;
};

TEST_P(EditorRestModule, OnSilenceTheEditorDrawsNothingAndItsFrameTimerRests)
{
  ASSERT_NO_FATAL_FAILURE(OpenEditor());
  const host::HostRunLoopCounts open = mPlugin->RunLoopRegistrations();
  EXPECT_EQ(open.timers, mClosedRegistrations.timers + 1) << "the frame timer";
  EXPECT_EQ(open.fds, mClosedRegistrations.fds + 1) << "the window's connection";
  const host::HostRunLoopCounts resting{mClosedRegistrations.timers, open.fds};

  Play(0.0, 500ms);
  TakeDamage();
  Play(0.0, 1000ms);
  EXPECT_EQ(TakeDamage(), 0) << "drawing on silence";
  // Resting: the window's connection stays watched, the frame timer is gone.
  EXPECT_EQ(mPlugin->RunLoopRegistrations(), resting);

  // Sound moves the meters, drawn by the idle step; then they fall back and the editor rests.
  Play(0.7, 300ms);
  EXPECT_GT(TakeDamage(), 0) << "the meters did not move";
  Play(0.0, 1500ms);
  TakeDamage();
  Play(0.0, 1000ms);
  EXPECT_EQ(TakeDamage(), 0) << "drawing after the meters fell";
  EXPECT_EQ(mPlugin->RunLoopRegistrations(), resting);
}

TEST_P(EditorRestModule, MetersAreFedOnlyWhileTheEditorIsOpenAndStartFromZero)
{
  ASSERT_NO_FATAL_FAILURE(OpenEditor());
  Play(0.0, 200ms);
  const std::vector<uint32_t> dark = Screenshot();
  ASSERT_FALSE(dark.empty());

  // From zero, one block of 2 ms lights the meters (their attack time is 1 ms).
  Process(0.9, 1, 96);
  Serve(60ms);
  EXPECT_NE(Screenshot(), dark) << "the meters did not rise";

  // While the editor is closed the followers stand still and queue nothing: a new editor shows
  // nothing of the loud passage, and silence after it reads zero at once.
  mPlugin->CloseEditor();
  Process(0.9, 40);
  ASSERT_NO_FATAL_FAILURE(OpenEditor());
  Serve(100ms);
  EXPECT_EQ(Screenshot(), dark) << "readings from while the editor was closed";
  Process(0.0, kBlocksPerIdleTick);
  Serve(60ms);
  EXPECT_EQ(Screenshot(), dark) << "the followers did not start from zero";

  Process(0.9, 1, 96);
  Serve(60ms);
  EXPECT_NE(Screenshot(), dark) << "the meters did not rise after reopening";
}

INSTANTIATE_TEST_SUITE_P(BothFormats, EditorRestModule,
                         ::testing::Values(VELMORA_VST3_BUNDLE_PATH, VELMORA_CLAP_MODULE),
                         [](const ::testing::TestParamInfo<const char*>& info)
                         { return std::string(info.param).ends_with(".clap") ? "CLAP" : "VST3"; });

} // namespace
} // namespace velmora::test
