// Both built modules with processing on an audio thread of its own while the main thread does
// what a host's user interface does: sets parameters, runs the run loop, restarts processing.
#include "tools/host/HostedPluginLoader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace velmora::test
{
namespace
{

using namespace std::chrono_literals;
using host::HostedPlugin;
using host::HostParamChange;
using host::HostParamInfo;

constexpr int kBlock = 128;

class ProcessThread : public ::testing::TestWithParam<const char*>
{
};

TEST_P(ProcessThread, MainThreadCallsBesideAnAudioThreadAreSafeAndTakeEffect)
{
  std::string error;
  std::unique_ptr<HostedPlugin> plugin = host::LoadHostedPlugin(GetParam(), error);
  ASSERT_TRUE(plugin) << error;
  const std::vector<HostParamInfo> params = plugin->Parameters();
  const auto mix = std::find_if(params.begin(), params.end(),
                                [](const HostParamInfo& p) { return p.name == "Mix"; });
  ASSERT_NE(mix, params.end());
  host::ProcessSetup setup;
  setup.maxBlockSize = kBlock;
  ASSERT_TRUE(plugin->Start(setup, error)) << error;

  std::atomic<bool> running{true};
  std::atomic<int> processed{0};
  std::thread audio(
      [&]
      {
        std::vector<double> left(kBlock, 0.25);
        std::vector<double> right(kBlock, -0.25);
        std::vector<double*> channels{left.data(), right.data()};
        const std::vector<HostParamChange> none;
        while (running.load())
        {
          if (plugin->Process(channels, kBlock, none))
            ++processed;
          std::this_thread::yield();
        }
      });

  double last = 0.0;
  for (int step = 0; step < 60; ++step)
  {
    last = (step % 10) / 10.0;
    ASSERT_TRUE(plugin->SetParameter(mix->id, last));
    plugin->RunEventLoop(1ms);
    // A host restarts processing when the plug-in asks; the audio thread keeps calling.
    if (step % 20 == 19)
    {
      ASSERT_TRUE(plugin->Start(setup, error)) << error;
    }
  }
  running = false;
  audio.join();
  EXPECT_GT(processed.load(), 0);

  // The last value has taken effect by the next block (for CLAP it travels with that block).
  std::vector<double> left(kBlock, 0.0);
  std::vector<double> right(kBlock, 0.0);
  std::vector<double*> channels{left.data(), right.data()};
  ASSERT_TRUE(plugin->Process(channels, kBlock, {}));
  plugin->Idle();
  EXPECT_NEAR(plugin->GetParameter(mix->id), last, 1e-9);
  plugin->Stop();
  EXPECT_FALSE(plugin->Process(channels, kBlock, {}));
}

INSTANTIATE_TEST_SUITE_P(BothFormats, ProcessThread,
                         ::testing::Values(VELMORA_VST3_BUNDLE_PATH, VELMORA_CLAP_MODULE));

} // namespace
} // namespace velmora::test
