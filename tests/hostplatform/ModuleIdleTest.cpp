// The plug-ins' idle work runs on the host's main-thread loop: on Linux through the timers they
// register with the host, on Windows through their own Win32 timers, whose messages the loop
// dispatches. A switch to the oversampled path is reported from that idle work, so its latency
// reaches the host only while the loop runs between blocks, in real time or step by step.
#include "tools/host/HostedPluginLoader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <tuple>

namespace velmora::test
{
namespace
{

using namespace std::chrono_literals;
using host::HostedPlugin;

constexpr int kBlock = 256;
// About half a second of audio, with the host's loop run between the blocks.
constexpr int kBlocks = 100;

// One turn of the host's main thread between two blocks.
struct LoopDriver
{
  const char* name;
  void (*turn)(HostedPlugin& plugin);
};

void RunInRealTime(HostedPlugin& plugin)
{
  plugin.RunEventLoop(5ms);
}

// As the render command does between blocks, here at about the pace of real time.
void RunAnIdleStep(HostedPlugin& plugin)
{
  plugin.Idle();
  std::this_thread::sleep_for(5ms);
}

class ModuleIdle : public ::testing::TestWithParam<std::tuple<const char* /* module */, LoopDriver>>
{
};

TEST_P(ModuleIdle, ReportsTheOversampledLatencyWhileTheHostLoopRuns)
{
  std::string error;
  const std::unique_ptr<HostedPlugin> plugin =
      host::LoadHostedPlugin(std::get<0>(GetParam()), error);
  ASSERT_TRUE(plugin) << error;
  const std::vector<host::HostParamInfo> params = plugin->Parameters();
  const auto oversampling = std::find_if(params.begin(), params.end(),
                                         [](const auto& p) { return p.name == "Oversampling"; });
  ASSERT_NE(oversampling, params.end());
  double on = 0.0;
  ASSERT_TRUE(plugin->ValueFromText(oversampling->id, "on", on));

  host::ProcessSetup setup;
  setup.maxBlockSize = kBlock;
  ASSERT_TRUE(plugin->Start(setup, error)) << error;
  ASSERT_EQ(plugin->Latency(), 0);
  // Set as the render command sets it: on the main thread, and with the first block.
  ASSERT_TRUE(plugin->SetParameter(oversampling->id, on));
  std::vector<double> left(kBlock, 0.0), right(kBlock, 0.0);
  std::vector<double*> channels{left.data(), right.data()};
  for (int block = 0; block < kBlocks; ++block)
  {
    const std::vector<host::HostParamChange> changes{{oversampling->id, 0, on}};
    ASSERT_TRUE(plugin->Process(channels, kBlock, block == 0 ? changes : decltype(changes){}));
    std::get<1>(GetParam()).turn(*plugin);
  }
  EXPECT_GT(plugin->Latency(), 0);
  plugin->Stop();
}

INSTANTIATE_TEST_SUITE_P(
    BothModules, ModuleIdle,
    ::testing::Combine(::testing::Values(VELMORA_VST3_BUNDLE_PATH, VELMORA_CLAP_MODULE),
                       ::testing::Values(LoopDriver{"RealTime", &RunInRealTime},
                                         LoopDriver{"IdleSteps", &RunAnIdleStep})),
    [](const auto& info)
    {
      const std::string module = std::get<0>(info.param);
      return std::string(module.ends_with(".clap") ? "Clap" : "Vst3") +
             std::get<1>(info.param).name;
    });

} // namespace
} // namespace velmora::test
