#include "dsp/CDSPResampler.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace
{

constexpr int kBlock = 1024;
constexpr double kRate = 48000.0;

// One channel's round trip through the oversampled path: 1024 host samples up by 4 and back
// down, with the filters of quality 2 (10 %, 120 dB) or quality 3 (5 %, 150 dB).
void BM_UpDownRoundTrip(benchmark::State& state)
{
  const bool offline = state.range(0) == 3;
  const double band = offline ? 5.0 : 10.0;
  const double atten = offline ? 150.0 : 120.0;
  velmora::CDSPResampler up(kRate, 4.0 * kRate, kBlock, band, atten,
                            velmora::EPhaseResponse::Minimum);
  velmora::CDSPResampler down(4.0 * kRate, kRate, 4 * kBlock, band, atten,
                              velmora::EPhaseResponse::Minimum);
  std::vector<double> input(kBlock);
  for (int n = 0; n < kBlock; ++n)
    input[static_cast<std::size_t>(n)] = 0.8 * std::sin(0.05 * n);

  for (auto _ : state)
  {
    double* upOut = nullptr;
    const int upCount = up.process(input.data(), kBlock, upOut);
    double* downOut = nullptr;
    benchmark::DoNotOptimize(down.process(upOut, upCount, downOut));
    benchmark::DoNotOptimize(downOut);
  }
  state.SetItemsProcessed(state.iterations() * kBlock);
}
BENCHMARK(BM_UpDownRoundTrip)->ArgName("quality")->Arg(2)->Arg(3);

// Filter design cost, paid at every reset on the thread that resets.
void BM_Construction(benchmark::State& state)
{
  const bool offline = state.range(0) == 3;
  for (auto _ : state)
  {
    velmora::CDSPResampler up(kRate, 4.0 * kRate, kBlock, offline ? 5.0 : 10.0,
                              offline ? 150.0 : 120.0, velmora::EPhaseResponse::Minimum);
    benchmark::DoNotOptimize(up.IsValid());
  }
}
BENCHMARK(BM_Construction)->ArgName("quality")->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

} // namespace
