// The latency rule: a change reaches the host as a restart request from the main thread and
// takes effect at the next activation.
#include "tests/clap/ClapTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

using namespace clapabi;
using velmora::host::ClapHost;
using velmora::host::HostParamChange;
using velmora::host::ProcessSetup;
using velmora::test::LoadClap;

constexpr int kBlock = 256;

// Runs blocks of a quiet saw, then a main-thread call (the host reading the latency, which is
// how the plug-in reaches a host without timers) and the host's run loop, until pred holds.
template <typename Pred>
bool RunUntil(velmora::host::ClapHostedPlugin& plugin, std::vector<HostParamChange> first,
              Pred pred)
{
  std::vector<double> left(kBlock), right(kBlock);
  std::vector<double*> channels{left.data(), right.data()};
  for (int block = 0; block < 400; ++block)
  {
    for (int i = 0; i < kBlock; ++i)
      left[static_cast<size_t>(i)] = right[static_cast<size_t>(i)] = 0.1 * ((i % 50) / 25.0 - 1.0);
    if (!plugin.Process(channels, kBlock, block == 0 ? first : std::vector<HostParamChange>{}))
      return false;
    plugin.Latency();
    plugin.Idle();
    if (pred())
      return true;
  }
  return false;
}

class ClapLatencyTest : public ::testing::TestWithParam<bool>
{
};

TEST_P(ClapLatencyTest, OversamplingOnRestartsThenReportsTheNewLatency)
{
  ClapHost::Options options;
  options.offerTimerSupport = GetParam();
  auto plugin = LoadClap(options);
  ASSERT_TRUE(plugin);
  ProcessSetup setup;
  setup.sampleRate = 48000.0;
  setup.maxBlockSize = kBlock;
  std::string error;
  ASSERT_TRUE(plugin->Start(setup, error)) << error;
  EXPECT_EQ(plugin->Latency(), 0);
  const int changedBefore = plugin->Host().LatencyChangedCount();

  ClapHost& host = plugin->Host();
  ASSERT_TRUE(RunUntil(*plugin, {{11, 10, 1.0}}, [&] { return host.RestartRequests() > 0; }));
  // The host restarted the instance in its run loop; the new latency is in force now.
  EXPECT_EQ(host.RestartRequests(), 1);
  EXPECT_TRUE(plugin->IsActive());
  EXPECT_GT(plugin->Latency(), 0);
  EXPECT_EQ(host.LatencyChangedCount(), changedBefore + 1);
  EXPECT_EQ(host.CallsOffMainThread(), 0);

  // Nothing further happens while the setting stays.
  const int latency = plugin->Latency();
  ASSERT_FALSE(RunUntil(*plugin, {}, [&] { return host.RestartRequests() > 1; }));
  EXPECT_EQ(plugin->Latency(), latency);

  // Turning it off again brings the latency back to 0 the same way.
  ASSERT_TRUE(RunUntil(*plugin, {{11, 0, 0.0}}, [&] { return host.RestartRequests() > 1; }));
  EXPECT_EQ(plugin->Latency(), 0);
  EXPECT_EQ(host.LatencyChangedCount(), changedBefore + 2);
}

INSTANTIATE_TEST_SUITE_P(HostTimer, ClapLatencyTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "with_timer" : "no_timer"; });

} // namespace
