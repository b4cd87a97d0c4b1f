// The oversampled path through the built modules, loaded by the command-line host: after every
// start it plays from the first block, delayed by exactly the latency it reports, and a switch
// of "Oversampling" during playback dips and comes back without a click or old signal.
#include "tools/host/HostedPluginLoader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace
{

using velmora::host::HostedPlugin;
using velmora::host::ProcessSetup;

constexpr double kRate = 48000.0;
constexpr double kAmplitude = 0.5;
constexpr uint32_t kOversamplingId = 11;
// The resampler round trip's accuracy for a 100 Hz sine (minimum-phase filters bend the phase
// slightly even there).
constexpr double kRoundTripError = 2e-6;
// The sine's largest step from one sample to the next.
constexpr double kSineStep = kAmplitude * 2.0 * 3.141592653589793 * 100.0 / kRate;
// The sine starts with a kink that no band-limited path passes unchanged: the filters ring for
// a few hundred samples after it, by less than a quarter of one step of the sine.
constexpr int kOnsetRinging = 512;

double Sine(long long i)
{
  return i < 0 ? 0.0 : kAmplitude * std::sin(2.0 * 3.141592653589793 * 100.0 * i / kRate);
}

std::unique_ptr<HostedPlugin> Load(const char* path)
{
  std::string error;
  std::unique_ptr<HostedPlugin> plugin = velmora::host::LoadHostedPlugin(path, error);
  EXPECT_TRUE(plugin) << error;
  return plugin;
}

// Runs blocks of the signal through both channels, with a main-thread tick after each, and
// returns channel 0's output.
template <typename Signal>
std::vector<double> RunBlocks(HostedPlugin& plugin, int block, int blocks, long long& frame,
                              Signal&& signal)
{
  std::vector<double> left(static_cast<size_t>(block)), right(left.size()), out;
  std::vector<double*> channels{left.data(), right.data()};
  for (int b = 0; b < blocks; ++b)
  {
    for (int i = 0; i < block; ++i)
      left[static_cast<size_t>(i)] = right[static_cast<size_t>(i)] = signal(frame + i);
    EXPECT_TRUE(plugin.Process(channels, block, {}));
    plugin.Idle();
    out.insert(out.end(), left.begin(), left.end());
    frame += block;
  }
  return out;
}

// Largest difference from the input delayed by latency over output samples [from, to).
double WorstDelayError(const std::vector<double>& out, long long start, int latency, size_t from,
                       size_t to)
{
  double worst = 0.0;
  for (size_t i = from; i < to; ++i)
    worst = std::max(worst, std::fabs(out[i] - Sine(start + static_cast<long long>(i) - latency)));
  return worst;
}

double Peak(const std::vector<double>& out)
{
  double peak = 0.0;
  for (const double s : out)
    peak = std::max(peak, std::fabs(s));
  return peak;
}

struct StartCase
{
  const char* name;
  const char* module;
  int block;
  bool offline;
};

void PrintTo(const StartCase& c, std::ostream* os)
{
  *os << c.name << (c.offline ? " offline" : " real time");
}

class OversampledStart : public ::testing::TestWithParam<StartCase>
{
};

TEST_P(OversampledStart, FirstSampleComesOutAtTheReportedLatency)
{
  const StartCase& c = GetParam();
  auto plugin = Load(c.module);
  ASSERT_TRUE(plugin);
  // Offline rendering always runs oversampled; in real time the switch is set before starting.
  if (!c.offline)
  {
    ASSERT_TRUE(plugin->SetParameter(kOversamplingId, 1.0));
  }
  ProcessSetup setup;
  setup.sampleRate = kRate;
  setup.maxBlockSize = c.block;
  setup.offline = c.offline;
  std::string error;
  ASSERT_TRUE(plugin->Start(setup, error)) << error;
  const int latency = plugin->Latency();
  ASSERT_GT(latency, 0);

  long long frame = 0;
  const int blocks = std::max(3, 9600 / c.block);
  const std::vector<double> out = RunBlocks(*plugin, c.block, blocks, frame, Sine);
  plugin->Stop();

  const auto settled = static_cast<size_t>(latency + kOnsetRinging);
  EXPECT_LT(WorstDelayError(out, 0, latency, 0, settled), 0.25 * kSineStep);
  EXPECT_LT(WorstDelayError(out, 0, latency, settled, out.size()), kRoundTripError);
  // No silent stretch after the delayed input starts, no overshoot at its start.
  size_t longestSilence = 0;
  for (size_t i = static_cast<size_t>(latency), run = 0; i < out.size(); ++i)
  {
    run = out[i] == 0.0 ? run + 1 : 0;
    longestSilence = std::max(longestSilence, run);
  }
  EXPECT_LE(longestSilence, 1u);
  const std::vector<double> lastPeriod(out.end() - 480, out.end());
  EXPECT_LE(Peak(out), Peak(lastPeriod) + kRoundTripError);
}

std::vector<StartCase> StartCases()
{
  static const char* const kNames[] = {"clap_1", "clap_64", "clap_512", "clap_4096",
                                       "vst3_1", "vst3_64", "vst3_512", "vst3_4096"};
  std::vector<StartCase> cases;
  for (const bool offline : {false, true})
  {
    int n = 0;
    for (const char* module : {VELMORA_CLAP_MODULE, VELMORA_VST3_BUNDLE_PATH})
    {
      for (const int block : {1, 64, 512, 4096})
        cases.push_back({kNames[n++], module, block, offline});
    }
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Modules, OversampledStart, ::testing::ValuesIn(StartCases()),
                         [](const auto& info) {
                           return std::string(info.param.name) +
                                  (info.param.offline ? "_offline" : "_realtime");
                         });

// VST3 only: a CLAP host restarts the plug-in for the new latency right after the path changes,
// which resets it; the VST3 host keeps processing through the whole switch.
class Vst3OversamplingSwitch : public ::testing::Test
{
protected:
  static constexpr int kBlock = 64;
  // Fade-out, the silence of one engine block plus latency, fade-in, with room to spare.
  static constexpr int kSwitchBlocks = 48;

  void Start(bool oversampled)
  {
    plugin = Load(VELMORA_VST3_BUNDLE_PATH);
    ASSERT_TRUE(plugin);
    ASSERT_TRUE(plugin->SetParameter(kOversamplingId, oversampled ? 1.0 : 0.0));
    ProcessSetup setup;
    setup.sampleRate = kRate;
    setup.maxBlockSize = kBlock;
    std::string error;
    ASSERT_TRUE(plugin->Start(setup, error)) << error;
  }

  std::unique_ptr<HostedPlugin> plugin;
  long long frame = 0;
};

TEST_F(Vst3OversamplingSwitch, BothDirectionsDipAndComeBackWithoutAClick)
{
  Start(false);
  RunBlocks(*plugin, kBlock, 20, frame, Sine);
  for (const bool on : {true, false})
  {
    ASSERT_TRUE(plugin->SetParameter(kOversamplingId, on ? 1.0 : 0.0));
    const long long start = frame;
    const std::vector<double> out = RunBlocks(*plugin, kBlock, kSwitchBlocks, frame, Sine);
    const int latency = plugin->Latency();
    ASSERT_EQ(latency > 0, on);

    EXPECT_LE(Peak(out), kAmplitude + kRoundTripError) << "on " << on;
    double steepest = 0.0;
    for (size_t i = 1; i < out.size(); ++i)
      steepest = std::max(steepest, std::fabs(out[i] - out[i - 1]));
    // The sine's own steepest step, and at most the fade's floor of a tenth on top.
    EXPECT_LE(steepest, kSineStep + 0.1 * kAmplitude) << "on " << on;
    // The dip reaches the fade's floor, and the last blocks are the new path at full level.
    // Around the change of path after the 256-sample fade-out the level is near the floor.
    const std::vector<double> dip(out.begin() + 248, out.begin() + 264);
    EXPECT_LE(Peak(dip), 0.13 * kAmplitude) << "on " << on;
    EXPECT_LT(WorstDelayError(out, start, latency, out.size() - 512, out.size()), kRoundTripError)
        << "on " << on;
  }
}

TEST_F(Vst3OversamplingSwitch, OldSignalInTheResamplersDoesNotComeBackAfterSwitchingOn)
{
  Start(true);
  RunBlocks(*plugin, kBlock, 40, frame, Sine);
  ASSERT_TRUE(plugin->SetParameter(kOversamplingId, 0.0));
  RunBlocks(*plugin, kBlock, kSwitchBlocks, frame, Sine);
  ASSERT_EQ(plugin->Latency(), 0);

  const auto silence = [](long long) { return 0.0; };
  ASSERT_TRUE(plugin->SetParameter(kOversamplingId, 1.0));
  const std::vector<double> out = RunBlocks(*plugin, kBlock, kSwitchBlocks, frame, silence);
  ASSERT_GT(plugin->Latency(), 0);
  EXPECT_EQ(Peak(out), 0.0);
}

} // namespace
