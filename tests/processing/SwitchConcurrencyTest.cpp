#include "tests/processing/ProcessingHost.h"

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>

namespace
{

using velmora::test::ProcessingHost;

// Requests from the main thread race the audio thread's fades; whatever the interleaving, once
// requests stop the path settles on the last one asked for, with no switch left running.
TEST(SwitchConcurrency, PathSettlesOnTheLastRequest)
{
  for (int round = 0; round < 6; ++round)
  {
    ProcessingHost host;
    Velmora& plugin = host.Plugin();
    host.Reset(48000.0, 64);
    std::atomic<bool> requestsDone{false};
    std::atomic<long long> blocksRun{0};

    std::thread audio(
        [&]
        {
          int blocksAfterDone = 0;
          while (blocksAfterDone < 200)
          {
            host.RunConstant(64, 0.5);
            blocksRun.fetch_add(1);
            if (requestsDone.load())
              ++blocksAfterDone;
          }
        });

    std::mt19937 random(static_cast<unsigned>(round));
    bool last = false;
    int latency = 0;
    for (int request = 0; request < 120; ++request)
    {
      last = (random() & 1u) != 0;
      plugin.RequestPathSwitch(last ? 1.0 : 0.0);
      plugin.TakeLatencyReport(latency);
      const long long target = blocksRun.load() + static_cast<long long>(random() % 4);
      while (blocksRun.load() < target)
        std::this_thread::yield();
    }
    requestsDone.store(true);
    audio.join();

    EXPECT_EQ(plugin.IsOversamplingOn(), last) << "round " << round;
    EXPECT_EQ(plugin.IsOversamplingRequested(), last) << "round " << round;
    EXPECT_FALSE(plugin.IsPathSwitchActive()) << "round " << round;
  }
}

} // namespace
