// Block processing speed (ns per frame, real-time factor at 48 kHz) on both paths, and the alias
// level of each path for a strongly driven 7 kHz sine.
#include "plugin/Velmora.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <memory>
#include <vector>

namespace
{

constexpr double kRate = 48000.0;
constexpr double kPi = 3.141592653589793;

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

void ApplySettings(Velmora& plugin, int settings)
{
  if (settings == kEveryStage)
  {
    plugin.GetParam(kThreshold)->Set(-12.0);
    plugin.GetParam(kThresholdAsym)->Set(6.0);
    plugin.GetParam(kNonlinearity)->Set(1.1);
    plugin.GetParam(kNonlinearityAsym)->Set(0.02);
    plugin.GetParam(kKnee)->Set(3.0);
    plugin.GetParam(kKneeAsym)->Set(-1.0);
    plugin.GetParam(kModA)->Set(50.0);
    plugin.GetParam(kModB)->Set(50.0);
    plugin.GetParam(kGain)->Set(12.0);
    plugin.GetParam(kMix)->Set(75.0);
    plugin.GetParam(kOutput)->Set(-3.0);
  }
  plugin.UpdateCoefficients();
}

// One instance set up for a path, with its buffers, run for a few blocks before measuring.
class Rig
{
public:
  // With editorOpen the meters are fed, as while an editor shows them.
  Rig(int channels, int path, int settings, int blockSize, bool editorOpen = false)
      : mChannels(channels), mBlock(blockSize),
        mPlugin(std::make_unique<Velmora>(iplug::InstanceInfo{}))
  {
    mPlugin->SetChannelConnections(channels, channels);
    if (editorOpen)
      mPlugin->StartMeterFeed();
    ApplySettings(*mPlugin, settings);
    mPlugin->SetSampleRate(kRate);
    mPlugin->SetBlockSize(blockSize);
    mPlugin->SetRenderingOffline(path == kOversampledQuality3);
    mPlugin->RequestPathSwitch(path == kPlain ? 0.0 : 1.0);
    mPlugin->ResetLevelFollowers();
    mPlugin->ResetPathSwitch();
    mPlugin->RebuildOversampler();
    for (int c = 0; c < channels; ++c)
    {
      mInputs.emplace_back(static_cast<size_t>(blockSize));
      mOutputs.emplace_back(static_cast<size_t>(blockSize));
    }
    for (int c = 0; c < channels; ++c)
    {
      mInPtrs.push_back(mInputs[static_cast<size_t>(c)].data());
      mOutPtrs.push_back(mOutputs[static_cast<size_t>(c)].data());
    }
    const int settle = (std::max(blockSize, 1024) * 3) / blockSize + 2;
    for (int block = 0; block < settle; ++block)
      Process();
  }

  // Fills the next block with a swept sine near full scale and processes it.
  void Process()
  {
    for (int c = 0; c < mChannels; ++c)
    {
      auto& in = mInputs[static_cast<size_t>(c)];
      for (int i = 0; i < mBlock; ++i)
      {
        const double t = static_cast<double>(mFrame + i) / kRate;
        in[static_cast<size_t>(i)] = 0.9 * std::sin(2.0 * kPi * (200.0 + 3000.0 * t) * t + c);
      }
    }
    mFrame = (mFrame + mBlock) % (1 << 20);
    mPlugin->ProcessBlock(mInPtrs.data(), mOutPtrs.data(), mBlock);
  }

  // Processes the block already in the buffers again; the timed loop uses this.
  void ProcessSame() { mPlugin->ProcessBlock(mInPtrs.data(), mOutPtrs.data(), mBlock); }
  double* Output(int c) { return mOutputs[static_cast<size_t>(c)].data(); }
  void SetInput(int c, int i, double value)
  {
    mInputs[static_cast<size_t>(c)][static_cast<size_t>(i)] = value;
  }
  Velmora& Plugin() { return *mPlugin; }

private:
  int mChannels;
  int mBlock;
  long long mFrame = 0;
  std::unique_ptr<Velmora> mPlugin;
  std::vector<std::vector<double>> mInputs;
  std::vector<std::vector<double>> mOutputs;
  std::vector<double*> mInPtrs;
  std::vector<double*> mOutPtrs;
};

// Args: channels, path, settings, block size, editor open.
void BM_ProcessBlock(benchmark::State& state)
{
  const int channels = static_cast<int>(state.range(0));
  const int path = static_cast<int>(state.range(1));
  const int settings = static_cast<int>(state.range(2));
  const int block = static_cast<int>(state.range(3));
  const bool editorOpen = state.range(4) != 0;
  Rig rig(channels, path, settings, block, editorOpen);
  rig.Process();
  for (auto _ : state)
  {
    // Processing writes the outputs only, so the same input block can be run over and over.
    rig.ProcessSame();
    benchmark::DoNotOptimize(rig.Output(0));
    benchmark::ClobberMemory();
  }
  const double frames = static_cast<double>(state.iterations()) * block;
  // Seconds per frame, shown with an SI prefix (n for nanoseconds).
  state.counters["time_per_frame"] =
      benchmark::Counter(frames, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["rt_factor"] = benchmark::Counter(frames / kRate, benchmark::Counter::kIsRate);
  state.counters["latency"] = rig.Plugin().GetOversamplingLatency();
}

void ProcessBlockArgs(benchmark::internal::Benchmark* b)
{
  b->ArgNames({"ch", "path", "stages", "block", "editor"});
  for (const int channels : {1, 2})
  {
    for (const int block : {32, 256, 4096})
    {
      b->Args({channels, kPlain, kDefaults, block, 0});
      for (const int path : {kPlain, kOversampledQuality2, kOversampledQuality3})
        b->Args({channels, path, kEveryStage, block, 0});
    }
  }
  // With an editor open the level followers run beside the curve.
  b->Args({2, kPlain, kDefaults, 256, 1});
  for (const int path : {kPlain, kOversampledQuality2})
    b->Args({2, path, kEveryStage, 256, 1});
}
BENCHMARK(BM_ProcessBlock)->Apply(ProcessBlockArgs);

// Level in dB below the 7 kHz fundamental of the strongest output component that is not one of
// its harmonics. 7 kHz at 48 kHz repeats every 48 samples, so every component, aliases included,
// sits on a 1 kHz grid, and a DFT over whole periods measures each without leakage.
double AliasLevelDb(int path)
{
  constexpr int kBlock = 480;
  Rig rig(1, path, kDefaults, kBlock);
  Velmora& plugin = rig.Plugin();
  plugin.GetParam(kThreshold)->Set(-12.0);
  plugin.GetParam(kNonlinearity)->Set(1.13);
  plugin.GetParam(kModA)->Set(100.0);
  plugin.GetParam(kGain)->Set(12.0);
  plugin.UpdateCoefficients();

  for (int i = 0; i < kBlock; ++i)
    rig.SetInput(0, i, std::sin(2.0 * kPi * 7000.0 * i / kRate));
  for (int block = 0; block < 40; ++block)
    rig.ProcessSame();

  std::vector<double> output;
  for (int block = 0; block < 20; ++block)
  {
    rig.ProcessSame();
    output.insert(output.end(), rig.Output(0), rig.Output(0) + kBlock);
  }
  const auto magnitude = [&output](int k)
  {
    std::complex<double> sum;
    for (size_t i = 0; i < output.size(); ++i)
      sum += output[i] * std::polar(1.0, -2.0 * kPi * k * static_cast<double>(i) / 48.0);
    return std::abs(sum);
  };
  const double fundamental = magnitude(7);
  double strongest = 0.0;
  for (int k = 0; k <= 24; ++k)
  {
    if (k % 7 != 0 || k == 0)
      strongest = std::max(strongest, magnitude(k));
  }
  return 20.0 * std::log10(strongest / fundamental);
}

void BM_AliasLevel(benchmark::State& state)
{
  const int path = static_cast<int>(state.range(0));
  double level = 0.0;
  for (auto _ : state)
    level = AliasLevelDb(path);
  state.counters["alias_dB"] = level;
  state.counters["below_plain_dB"] = AliasLevelDb(kPlain) - level;
}
BENCHMARK(BM_AliasLevel)
    ->ArgName("path")
    ->Arg(kPlain)
    ->Arg(kOversampledQuality2)
    ->Arg(kOversampledQuality3)
    ->Iterations(1);

} // namespace
