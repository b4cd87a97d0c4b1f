// Process calls of the built CLAP module, loaded as the project's host loads it: the cost a host
// pays per block, with nothing of the host's own work inside the timed loop. Counters as in
// process_block_bench; BM_PlainCopy is the floor, a copy of the same buffers. The environment
// variable VELMORA_BENCH_CLAP_MODULE names another module file to time, such as an older build.
#include "tools/host/clap/ClapHostedPlugin.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace
{

using namespace velmora::host;
using namespace clapabi;

constexpr double kRate = 48000.0;
constexpr double kPi = 3.141592653589793;
constexpr int kChannels = 2;

enum Path
{
  kPlain = 0,
  kOversampledQuality2 = 1,
  kOversampledQuality3 = 2
};

enum Settings
{
  kDefaults = 0,
  kEveryStage = 1
};

struct NamedValue
{
  const char* name;
  double value;
};

// The same settings as process_block_bench's "every stage", in the module's own value terms.
constexpr NamedValue kEveryStageValues[] = {
    {"Threshold", -12.0}, {"T Assym", 6.0},  {"Nonlinearity", 1.1}, {"N Assym", 0.02},
    {"Knee", 3.0},        {"K Assym", -1.0}, {"Mod A", 50.0},       {"Mod B", 50.0},
    {"Gain", 12.0},       {"Mix", 75.0},     {"Output", -3.0}};

bool SetByName(ClapHostedPlugin& plugin, const std::string& name, double value)
{
  for (const HostParamInfo& param : plugin.Parameters())
  {
    if (param.name == name)
      return plugin.SetParameter(param.id, value);
  }
  return false;
}

// One loaded instance, set up for a path and started, with its own input and output buffers.
class ModuleRig
{
public:
  ModuleRig(int path, int settings, int block, std::string& error) : mBlock(block)
  {
    const char* other = std::getenv("VELMORA_BENCH_CLAP_MODULE");
    mPlugin = ClapHostedPlugin::Load(other != nullptr ? other : VELMORA_CLAP_MODULE, error);
    if (!mPlugin)
      return;
    bool set = SetByName(*mPlugin, "Oversampling", path == kPlain ? 0.0 : 1.0);
    if (settings == kEveryStage)
    {
      for (const NamedValue& v : kEveryStageValues)
        set = set && SetByName(*mPlugin, v.name, v.value);
    }
    ProcessSetup setup;
    setup.sampleRate = kRate;
    setup.maxBlockSize = block;
    setup.channels = kChannels;
    setup.offline = path == kOversampledQuality3;
    if (!set)
    {
      error = "a parameter could not be set";
      mPlugin.reset();
      return;
    }
    if (!mPlugin->Start(setup, error))
    {
      mPlugin.reset();
      return;
    }
    for (int c = 0; c < kChannels; ++c)
    {
      mInputs.emplace_back(static_cast<size_t>(block));
      mOutputs.emplace_back(static_cast<size_t>(block));
      auto& in = mInputs.back();
      for (int i = 0; i < block; ++i)
      {
        const double t = static_cast<double>(i) / kRate;
        in[static_cast<size_t>(i)] = 0.9 * std::sin(2.0 * kPi * (200.0 + 3000.0 * t) * t + c);
      }
      mInPtrs.push_back(mInputs.back().data());
      mOutPtrs.push_back(mOutputs.back().data());
    }
    mInput.data64 = mInPtrs.data();
    mInput.channel_count = kChannels;
    mOutput.data64 = mOutPtrs.data();
    mOutput.channel_count = kChannels;
    mProcess.frames_count = static_cast<uint32_t>(block);
    mProcess.audio_inputs = &mInput;
    mProcess.audio_outputs = &mOutput;
    mProcess.audio_inputs_count = 1;
    mProcess.audio_outputs_count = 1;
    mProcess.in_events = mEvents.Input();
    mProcess.out_events = mEvents.Output();
    mPlugin->Host().MarkAudioThread();
    // Past the settling of the filters and any fade.
    const int settle = (std::max(block, 1024) * 3) / block + 2;
    for (int i = 0; i < settle; ++i)
      Process();
  }

  bool Ready() const { return mPlugin != nullptr; }

  clap_process_status Process()
  {
    const clap_plugin* plugin = mPlugin->Plugin();
    mProcess.steady_time += mBlock;
    return plugin->process(plugin, &mProcess);
  }

  double* Output() { return mOutputs[0].data(); }

private:
  int mBlock;
  std::unique_ptr<ClapHostedPlugin> mPlugin;
  std::vector<std::vector<double>> mInputs;
  std::vector<std::vector<double>> mOutputs;
  std::vector<double*> mInPtrs;
  std::vector<double*> mOutPtrs;
  clap_audio_buffer mInput{};
  clap_audio_buffer mOutput{};
  ClapEventList mEvents;
  clap_process mProcess{};
};

void Count(benchmark::State& state, int block)
{
  const double frames = static_cast<double>(state.iterations()) * block;
  state.counters["time_per_frame"] =
      benchmark::Counter(frames, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["rt_factor"] = benchmark::Counter(frames / kRate, benchmark::Counter::kIsRate);
}

// Args: path, settings, block size; always stereo.
void BM_ClapProcess(benchmark::State& state)
{
  const int path = static_cast<int>(state.range(0));
  const int settings = static_cast<int>(state.range(1));
  const int block = static_cast<int>(state.range(2));
  std::string error;
  ModuleRig rig(path, settings, block, error);
  if (!rig.Ready())
  {
    state.SkipWithError(error.c_str());
    return;
  }
  for (auto _ : state)
  {
    benchmark::DoNotOptimize(rig.Process());
    benchmark::DoNotOptimize(rig.Output());
    benchmark::ClobberMemory();
  }
  Count(state, block);
}
BENCHMARK(BM_ClapProcess)
    ->ArgNames({"path", "stages", "block"})
    ->Args({kPlain, kDefaults, 256})
    ->Args({kPlain, kEveryStage, 256})
    ->Args({kOversampledQuality2, kEveryStage, 256})
    ->Args({kOversampledQuality3, kEveryStage, 256})
    ->Args({kPlain, kDefaults, 4096})
    ->Args({kOversampledQuality2, kEveryStage, 4096});

// The floor: copying the same stereo block from the inputs to the outputs.
void BM_PlainCopy(benchmark::State& state)
{
  const int block = static_cast<int>(state.range(0));
  std::vector<std::vector<double>> inputs(kChannels, std::vector<double>(size_t(block), 0.5));
  std::vector<std::vector<double>> outputs(kChannels, std::vector<double>(size_t(block)));
  for (auto _ : state)
  {
    for (int c = 0; c < kChannels; ++c)
      std::copy(inputs[size_t(c)].begin(), inputs[size_t(c)].end(), outputs[size_t(c)].begin());
    benchmark::DoNotOptimize(outputs[0].data());
    benchmark::ClobberMemory();
  }
  Count(state, block);
}
BENCHMARK(BM_PlainCopy)->ArgName("block")->Arg(256)->Arg(4096);

} // namespace
