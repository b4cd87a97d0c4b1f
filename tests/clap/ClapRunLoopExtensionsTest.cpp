// What a Linux CLAP host's run loop and window system find on an instance.
#include "tests/clap/ClapTestSupport.h"

#include <gtest/gtest.h>

namespace
{

using namespace clapabi;
using velmora::test::LoadClap;

TEST(ClapExtensions, RunLoopAndEditorExtensionsAreOffered)
{
  auto plugin = LoadClap();
  ASSERT_TRUE(plugin);
  for (const char* id : {"clap.timer-support", "clap.posix-fd-support", "clap.gui"})
    EXPECT_NE(plugin->Extension<void>(id), nullptr) << id;
}

TEST(ClapExtensions, IdleTimerRegisteredAtInitAndServedByTheTimerExtension)
{
  auto plugin = LoadClap();
  ASSERT_TRUE(plugin);
  ASSERT_EQ(plugin->Host().Timers().size(), 1u);
  EXPECT_EQ(plugin->Host().Timers().begin()->second, 20u);
  const auto* timer = plugin->Extension<clap_plugin_timer_support>("clap.timer-support");
  ASSERT_NE(timer, nullptr);
  ASSERT_NE(timer->on_timer, nullptr);
  // Unknown timer ids are ignored; the registered one runs the idle step.
  timer->on_timer(plugin->Plugin(), 12345);
  timer->on_timer(plugin->Plugin(), plugin->Host().Timers().begin()->first);
  const auto* fd = plugin->Extension<clap_plugin_posix_fd_support>("clap.posix-fd-support");
  ASSERT_NE(fd, nullptr);
  ASSERT_NE(fd->on_fd, nullptr);
  fd->on_fd(plugin->Plugin(), 0, CLAP_POSIX_FD_READ);
  EXPECT_EQ(plugin->Host().CallsOffMainThread(), 0);
}

} // namespace
