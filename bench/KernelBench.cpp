// The kernels one by one, on every variant this processor runs (argument isa: 0 the x86-64
// baseline, then each wider set): the curve, the four level followers and a round of the filters.
#include "dsp/AttRelEnvelope.h"
#include "dsp/DspKernelDispatch.h"
#include "dsp/SaturationCurve.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <vector>

namespace
{

std::vector<double> Sweep(int n)
{
  std::vector<double> x(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i)
    x[static_cast<size_t>(i)] = 1.2 * std::sin(0.01 * i);
  return x;
}

const velmora::DspKernels& Variant(const benchmark::State& state)
{
  return *velmora::SupportedDspKernels().at(static_cast<size_t>(state.range(0)));
}

void ForEachVariant(benchmark::internal::Benchmark* b)
{
  b->ArgNames({"isa", "n"});
  for (size_t isa = 0; isa < velmora::SupportedDspKernels().size(); ++isa)
    b->Args({static_cast<long>(isa), 1024});
}

void RunCurve(benchmark::State& state, const velmora::ShaperCoefficients& c)
{
  const velmora::DspKernels& kernels = Variant(state);
  state.SetLabel(kernels.name);
  const int n = static_cast<int>(state.range(1));
  std::vector<double> in = Sweep(n);
  std::vector<double> out(in.size());
  for (auto _ : state)
  {
    kernels.shape(in.data(), out.data(), n, c, velmora::SampleGuard::ZeroNonFiniteInput);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * n);
}

// Samples per second of the full curve at a heavy setting (both stages, both thresholds active).
void BM_ShapeHeavy(benchmark::State& state)
{
  velmora::ShaperSettings s;
  s.threshold = -12.0;
  s.nonlinearity = 1.1;
  s.modA = 50.0;
  s.modB = 50.0;
  s.gain = 6.0;
  RunCurve(state, velmora::ComputeShaperCoefficients(s));
}
BENCHMARK(BM_ShapeHeavy)->Apply(ForEachVariant);

void BM_ShapeDefaults(benchmark::State& state)
{
  RunCurve(state, velmora::ComputeShaperCoefficients({}));
}
BENCHMARK(BM_ShapeDefaults)->Apply(ForEachVariant);

// Frames per second of the four meter followers stepped together.
void BM_FollowLevels(benchmark::State& state)
{
  const velmora::DspKernels& kernels = Variant(state);
  state.SetLabel(kernels.name);
  const int n = static_cast<int>(state.range(1));
  const std::vector<double> signal = Sweep(n);
  const std::array<const double*, 4> sources{signal.data(), signal.data(), signal.data(),
                                             signal.data()};
  const velmora::AttRelEnvelope follower(1.0, 275.0, 48000.0);
  const std::array<double, 4> attack{follower.getAttackCoef(), follower.getAttackCoef(),
                                     follower.getAttackCoef(), follower.getAttackCoef()};
  const std::array<double, 4> release{follower.getReleaseCoef(), follower.getReleaseCoef(),
                                      follower.getReleaseCoef(), follower.getReleaseCoef()};
  std::array<double, 4> levels{};
  for (auto _ : state)
  {
    kernels.followLevels(sources.data(), n, attack.data(), release.data(), levels.data());
    benchmark::DoNotOptimize(levels.data());
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_FollowLevels)->Apply(ForEachVariant);

// Stereo frames per second of the plain path at its defaults: both channels shaped and the four
// followers stepped, in one pass.
void BM_ShapeAndFollow(benchmark::State& state)
{
  const velmora::DspKernels& kernels = Variant(state);
  state.SetLabel(kernels.name);
  const int n = static_cast<int>(state.range(1));
  const std::vector<double> left = Sweep(n);
  const std::vector<double> right = Sweep(n);
  std::vector<double> outLeft(left.size());
  std::vector<double> outRight(right.size());
  const std::array<const double*, 2> inputs{left.data(), right.data()};
  const std::array<double*, 2> outputs{outLeft.data(), outRight.data()};
  const velmora::AttRelEnvelope follower(1.0, 275.0, 48000.0);
  const std::array<double, 4> attack{follower.getAttackCoef(), follower.getAttackCoef(),
                                     follower.getAttackCoef(), follower.getAttackCoef()};
  const std::array<double, 4> release{follower.getReleaseCoef(), follower.getReleaseCoef(),
                                      follower.getReleaseCoef(), follower.getReleaseCoef()};
  const auto c = velmora::ComputeShaperCoefficients({});
  std::array<double, 4> levels{};
  for (auto _ : state)
  {
    kernels.shapeAndFollow(inputs.data(), outputs.data(), 2, n, c, attack.data(), release.data(),
                           levels.data());
    benchmark::DoNotOptimize(levels.data());
    benchmark::DoNotOptimize(outLeft.data());
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_ShapeAndFollow)->Apply(ForEachVariant);

// Output samples per second of the filters at the resampler's quality-2 lengths: the first
// up-sampling stage (165 taps per branch, 1024 inputs) and the last down-sampling stage (330 taps,
// 1024 outputs).
void BM_Interpolate(benchmark::State& state)
{
  const velmora::DspKernels& kernels = Variant(state);
  state.SetLabel(kernels.name);
  constexpr int kBranch = 165;
  const int n = static_cast<int>(state.range(1));
  const std::vector<double> taps = Sweep(kBranch);
  const std::vector<double> history = Sweep(n + kBranch);
  std::vector<double> out(2 * static_cast<size_t>(n));
  for (auto _ : state)
  {
    kernels.interpolate2x(taps.data(), taps.data(), kBranch, history.data(), n, out.data());
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * 2 * n);
  state.counters["multiply_adds"] =
      benchmark::Counter(2.0 * kBranch * n, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_Interpolate)->Apply(ForEachVariant);

void BM_Decimate(benchmark::State& state)
{
  const velmora::DspKernels& kernels = Variant(state);
  state.SetLabel(kernels.name);
  constexpr int kTaps = 330;
  const int n = static_cast<int>(state.range(1));
  const std::vector<double> taps = Sweep(kTaps / 2);
  const std::vector<double> phase = Sweep(n + kTaps / 2);
  std::vector<double> out(static_cast<size_t>(n));
  for (auto _ : state)
  {
    kernels.decimate2x(taps.data(), kTaps / 2, taps.data(), kTaps / 2, phase.data(), phase.data(),
                       n, out.data());
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * n);
  state.counters["multiply_adds"] =
      benchmark::Counter(double(kTaps) * n, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_Decimate)->Apply(ForEachVariant);

} // namespace
