// What only the Windows CLAP DLL does: it asks its host for no run-loop extensions, its editor
// embeds in "win32" windows only, and its idle timer is a Win32 timer started at the plug-in's
// init.
#include "tests/clap/ClapTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace velmora::test
{
namespace
{

using namespace std::chrono_literals;
constexpr int kBlock = 256;

TEST(WindowsClapModule, OffersNoRunLoopExtensions)
{
  auto plugin = LoadClap();
  ASSERT_TRUE(plugin);
  for (const char* id : {"clap.timer-support", "clap.posix-fd-support"})
    EXPECT_EQ(plugin->Extension<void>(id), nullptr) << id;
  // The host's timer support goes unused: the plug-in registers nothing there.
  EXPECT_TRUE(plugin->Host().Timers().empty());
  for (const char* id : {"clap.params", "clap.state", "clap.latency", "clap.preset-load/2"})
    EXPECT_NE(plugin->Extension<void>(id), nullptr) << id;
}

TEST(WindowsClapModule, TheEditorEmbedsInWin32WindowsOnly)
{
  using namespace clapabi;
  auto plugin = LoadClap();
  ASSERT_TRUE(plugin);
  const auto* gui = plugin->Extension<clap_plugin_gui>(CLAP_EXT_GUI);
  ASSERT_NE(gui, nullptr);
  const clap_plugin* raw = plugin->Plugin();
  EXPECT_TRUE(gui->is_api_supported(raw, CLAP_WINDOW_API_WIN32, false));
  EXPECT_FALSE(gui->is_api_supported(raw, CLAP_WINDOW_API_WIN32, true));
  for (const char* api : {CLAP_WINDOW_API_X11, CLAP_WINDOW_API_COCOA, CLAP_WINDOW_API_WAYLAND, ""})
    EXPECT_FALSE(gui->is_api_supported(raw, api, false)) << api;
  const char* preferred = nullptr;
  bool floating = false;
  EXPECT_FALSE(gui->get_preferred_api(raw, &preferred, &floating));

  EXPECT_FALSE(gui->create(raw, CLAP_WINDOW_API_X11, false));
  EXPECT_FALSE(gui->create(raw, CLAP_WINDOW_API_WIN32, true));
  ASSERT_TRUE(gui->create(raw, CLAP_WINDOW_API_WIN32, false));
  // An X11 parent, a missing handle and a transient window are refused.
  clap_window x11{};
  x11.api = CLAP_WINDOW_API_X11;
  x11.x11 = 0x1234;
  EXPECT_FALSE(gui->set_parent(raw, &x11));
  clap_window none{};
  none.api = CLAP_WINDOW_API_WIN32;
  EXPECT_FALSE(gui->set_parent(raw, &none));
  EXPECT_FALSE(gui->set_transient(raw, &none));
  uint32_t width = 0;
  uint32_t height = 0;
  ASSERT_TRUE(gui->get_size(raw, &width, &height));
  EXPECT_EQ(width, 650u);
  EXPECT_EQ(height, 400u);
  gui->destroy(raw);
}

// A host edit of "Oversampling" reaches the plug-in's main-thread side at an idle tick, which asks
// the audio thread for the switch; after it, the next tick asks the host for a restart. Both
// ticks come from the plug-in's own timer while the host only processes blocks and runs its
// message loop; the restart brings the new latency into force.
TEST(WindowsClapModule, LatencyChangeIsAskedForFromTheWin32IdleTimer)
{
  auto plugin = LoadClap();
  ASSERT_TRUE(plugin);
  host::ProcessSetup setup;
  setup.sampleRate = 48000.0;
  setup.maxBlockSize = kBlock;
  std::string error;
  ASSERT_TRUE(plugin->Start(setup, error)) << error;
  ASSERT_EQ(plugin->Latency(), 0);

  std::vector<double> left(kBlock, 0.0), right(kBlock, 0.0);
  std::vector<double*> channels{left.data(), right.data()};
  ASSERT_TRUE(plugin->Process(channels, kBlock, {{11, 0, 1.0}}));
  const auto restartAsked = [&] { return plugin->Host().RestartRequests() > 0; };
  for (int round = 0; round < 80 && !restartAsked(); ++round)
  {
    for (int block = 0; block < 4; ++block)
      ASSERT_TRUE(plugin->Process(channels, kBlock, {}));
    plugin->RunEventLoop(25ms, restartAsked);
  }
  EXPECT_EQ(plugin->Host().RestartRequests(), 1);
  EXPECT_EQ(plugin->Host().CallsOffMainThread(), 0);
  // The host restarts the plug-in in its next idle pass; the new latency is then in force.
  plugin->Idle();
  EXPECT_TRUE(plugin->IsActive());
  EXPECT_GT(plugin->Latency(), 0);
}

} // namespace
} // namespace velmora::test
