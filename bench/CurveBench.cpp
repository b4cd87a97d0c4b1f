#include "dsp/SaturationCurve.h"

#include <benchmark/benchmark.h>

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

// Samples per second of the full curve at a heavy setting (both stages, both thresholds active).
void BM_ShapeSamplesHeavy(benchmark::State& state)
{
  velmora::ShaperSettings s;
  s.threshold = -12.0;
  s.nonlinearity = 1.1;
  s.modA = 50.0;
  s.modB = 50.0;
  s.gain = 6.0;
  const auto c = velmora::ComputeShaperCoefficients(s);
  const int n = static_cast<int>(state.range(0));
  std::vector<double> in = Sweep(n);
  std::vector<double> out(in.size());
  for (auto _ : state)
  {
    velmora::ShapeSamples(in.data(), out.data(), n, c);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_ShapeSamplesHeavy)->Arg(64)->Arg(1024);

void BM_ShapeSamplesDefaults(benchmark::State& state)
{
  const auto c = velmora::ComputeShaperCoefficients({});
  const int n = static_cast<int>(state.range(0));
  std::vector<double> in = Sweep(n);
  std::vector<double> out(in.size());
  for (auto _ : state)
  {
    velmora::ShapeSamples(in.data(), out.data(), n, c);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_ShapeSamplesDefaults)->Arg(1024);

} // namespace
