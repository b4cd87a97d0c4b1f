// The processing thread of the built module: no heap allocation in a process call, and process
// calls running beside the host's main-thread calls.
#include "tests/clap/ClapTestSupport.h"
#include "tests/support/AllocationGuard.h"
#include "tools/host/clap/ClapEventList.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace
{

using namespace clapabi;
using velmora::host::ClapEventList;
using velmora::host::ProcessSetup;
using velmora::test::AllocationViolations;
using velmora::test::ClearAllocationViolations;
using velmora::test::ForbidAllocations;
using velmora::test::LoadClap;

constexpr int kBlock = 256;

TEST(ClapRealtime, ProcessCallsDoNotAllocate)
{
  auto plugin = LoadClap();
  ASSERT_TRUE(plugin);
  ProcessSetup setup;
  setup.maxBlockSize = kBlock;
  std::string error;
  ASSERT_TRUE(plugin->Start(setup, error)) << error;

  // The counter sees the module's allocations: saving state builds a chunk on the heap.
  {
    std::vector<uint8_t> state;
    state.reserve(4096);
    ClearAllocationViolations();
    {
      ForbidAllocations guard;
      ASSERT_TRUE(plugin->SaveState(state));
    }
    EXPECT_GT(AllocationViolations(), 0);
  }

  std::vector<double> left(kBlock, 0.3), right(kBlock, -0.2);
  std::vector<double*> channels{left.data(), right.data()};
  ClapEventList events;
  events.Reserve(64);
  for (int block = 0; block < 200; ++block)
  {
    events.Clear();
    events.AddParamValue(static_cast<uint32_t>(block % kBlock), 8, (block % 10) / 10.0);
    events.AddParamValue(100, 0, (block % 7) / 7.0);
    events.AddParamValue(200, 11, block >= 20 && block < 120 ? 1.0 : 0.0);
    ClearAllocationViolations();
    {
      ForbidAllocations guard;
      ASSERT_NE(plugin->ProcessEvents(channels, kBlock, events), CLAP_PROCESS_ERROR);
    }
    ASSERT_EQ(AllocationViolations(), 0) << "block " << block;
    // The main thread hands the changes to the editor side and runs the idle step in between,
    // which starts and completes the path switches.
    const auto* timer = plugin->Extension<clap_plugin_timer_support>("clap.timer-support");
    timer->on_timer(plugin->Plugin(), plugin->Host().Timers().begin()->first);
  }
}

TEST(ClapThreads, ProcessingBesideMainThreadCalls)
{
  auto plugin = LoadClap();
  ASSERT_TRUE(plugin);
  ProcessSetup setup;
  setup.maxBlockSize = kBlock;
  std::string error;
  ASSERT_TRUE(plugin->Start(setup, error)) << error;
  const clap_plugin* p = plugin->Plugin();
  const auto* timer = plugin->Extension<clap_plugin_timer_support>("clap.timer-support");
  const auto* params = plugin->Extension<clap_plugin_params>("clap.params");
  const auto* latency = plugin->Extension<clap_plugin_latency>("clap.latency");
  const clap_id timerId = plugin->Host().Timers().begin()->first;

  std::atomic<bool> done{false};
  std::thread audio(
      [&]
      {
        std::vector<double> left(kBlock, 0.3), right(kBlock, -0.2);
        std::vector<double*> channels{left.data(), right.data()};
        ClapEventList events;
        events.Reserve(16);
        for (int block = 0; block < 600; ++block)
        {
          events.Clear();
          events.AddParamValue(10, 9, (block % 5) / 5.0);
          events.AddParamValue(50, 11, (block / 100) % 2 ? 1.0 : 0.0);
          plugin->ProcessEvents(channels, kBlock, events);
        }
        done.store(true);
      });
  double value = 0.0;
  while (!done.load())
  {
    timer->on_timer(p, timerId);
    params->get_value(p, 9, &value);
    latency->get(p);
    std::this_thread::yield();
  }
  audio.join();
  timer->on_timer(p, timerId);
  EXPECT_TRUE(params->get_value(p, 11, &value));
  EXPECT_EQ(value, 1.0);
  EXPECT_EQ(plugin->Host().CallsOffMainThread(), 0);
}

} // namespace
