#include "tests/vst3/Vst3TestSupport.h"

#include "framework/core/IdleTimer.h"
#include "plugin/Velmora.h"

#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace velmora::test
{

std::unique_ptr<host::vst3::VST3HostedPlugin> LoadEffect(const std::string& hostName,
                                                         host::vst3::RunLoopOffer runLoopOffer)
{
  std::string error;
  auto module = host::vst3::VST3Module::Load(kBundlePath, error);
  EXPECT_NE(module, nullptr) << error;
  if (!module)
    return nullptr;
  auto effect =
      host::vst3::VST3HostedPlugin::Create(std::move(module), hostName, error, runLoopOffer);
  EXPECT_NE(effect, nullptr) << error;
  return effect;
}

void IdleTick(host::vst3::VST3HostedPlugin& effect)
{
  if (effect.Context().TimerCount() > 0)
    effect.Idle();
  else
    effect.RunEventLoop(std::chrono::milliseconds(iplug::kIdleTimerIntervalMs + 15));
}

void ProcessSilence(host::vst3::VST3HostedPlugin& effect, int blocks, int blockSize)
{
  std::vector<double> left(static_cast<size_t>(blockSize), 0.0);
  std::vector<double> right(static_cast<size_t>(blockSize), 0.0);
  std::vector<double*> channels{left.data(), right.data()};
  for (int i = 0; i < blocks; ++i)
    ASSERT_TRUE(effect.Process(channels, blockSize, {}));
}

int LatencyRestarts(host::vst3::VST3HostedPlugin& effect)
{
  const auto restarts = effect.Handler().Restarts();
  return static_cast<int>(std::count_if(
      restarts.begin(), restarts.end(),
      [](const auto& r) { return (r.flags & Steinberg::Vst::kLatencyChanged) != 0; }));
}

bool AllRestartsOnMainThread(host::vst3::VST3HostedPlugin& effect)
{
  const auto restarts = effect.Handler().Restarts();
  return std::all_of(restarts.begin(), restarts.end(),
                     [](const auto& r) { return r.onMainThread; });
}

std::vector<std::vector<double>> MakeTestSignal(int channels, int frames)
{
  std::vector<std::vector<double>> signal(static_cast<size_t>(channels));
  for (int c = 0; c < channels; ++c)
  {
    auto& samples = signal[static_cast<size_t>(c)];
    samples.resize(static_cast<size_t>(frames));
    for (int i = 0; i < frames; ++i)
    {
      // A swell from silence to beyond full scale, with two partials per channel.
      const double envelope = 1.6 * i / frames;
      samples[static_cast<size_t>(i)] =
          envelope * (0.7 * std::sin(0.031 * i * (c + 1)) + 0.3 * std::sin(0.173 * i + c));
    }
  }
  return signal;
}

std::vector<uint8_t> EncodeParameterBlock(const std::vector<double>& values)
{
  std::vector<uint8_t> bytes(values.size() * 8);
  for (size_t i = 0; i < values.size(); ++i)
  {
    uint64_t bits = 0;
    std::memcpy(&bits, &values[i], 8);
    for (int b = 0; b < 8; ++b)
      bytes[i * 8 + static_cast<size_t>(b)] = static_cast<uint8_t>(bits >> (8 * b));
  }
  return bytes;
}

std::vector<double> DefaultParameterValues()
{
  const Velmora reference{iplug::InstanceInfo{}};
  std::vector<double> values;
  for (int i = 0; i < reference.NParams(); ++i)
    values.push_back(reference.GetParam(i)->GetDefault());
  return values;
}

} // namespace velmora::test
