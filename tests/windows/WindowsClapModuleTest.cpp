// What only the Windows CLAP DLL does: it asks its host for no run-loop extensions and offers no
// editor, and its idle timer is a Win32 timer started at the plug-in's init.
#include "tests/clap/ClapTestSupport.h"
#include "tests/windows/WindowsTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace velmora::test
{
namespace
{

using namespace std::chrono_literals;
constexpr int kBlock = 256;

TEST(WindowsClapModule, OffersNeitherRunLoopExtensionsNorAnEditor)
{
  auto plugin = LoadClap();
  ASSERT_TRUE(plugin);
  for (const char* id : {"clap.timer-support", "clap.posix-fd-support", "clap.gui"})
    EXPECT_EQ(plugin->Extension<void>(id), nullptr) << id;
  // The host's timer support goes unused: the plug-in registers nothing there.
  EXPECT_TRUE(plugin->Host().Timers().empty());
  for (const char* id : {"clap.params", "clap.state", "clap.latency", "clap.preset-load"})
    EXPECT_NE(plugin->Extension<void>(id), nullptr) << id;
}

// A latency change reaches the host as a restart request made by the plug-in's own timer while
// the host only dispatches messages; the restart brings it into force.
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
  for (int block = 0; block < 8; ++block)
    ASSERT_TRUE(plugin->Process(channels, kBlock, {}));
  EXPECT_EQ(plugin->Host().RestartRequests(), 0);

  PumpMessagesFor(100ms);
  EXPECT_EQ(plugin->Host().RestartRequests(), 1);
  EXPECT_EQ(plugin->Host().CallsOffMainThread(), 0);
  // The host restarts the plug-in in its next idle pass; the new latency is then in force.
  plugin->Idle();
  EXPECT_GT(plugin->Latency(), 0);
}

} // namespace
} // namespace velmora::test
