#include "dsp/CDSPResampler.h"
#include "dsp/ResamplerFilters.h"

#include <benchmark/benchmark.h>

#include <immintrin.h>

#include <cmath>
#include <vector>

namespace
{

constexpr int kBlock = 1024;
constexpr double kRate = 48000.0;

// The multiply-adds of one round trip of n host samples: both branches of the first interpolator
// (n inputs), both of the second (2n inputs), the first decimator (2n outputs) and the second
// (n outputs), each output costing one multiply-add per tap of its branch or filter.
double RoundTripMultiplyAdds(double band, double atten, int n)
{
  const velmora::ResamplerFilters f = velmora::DesignResamplerFilters(band, atten, true);
  const auto branch = [](const std::vector<double>& taps)
  { return static_cast<double>((taps.size() + 1) / 2); };
  return 2.0 * branch(f.lowStage) * n + 2.0 * branch(f.upHighStage) * 2.0 * n +
         static_cast<double>(f.downHighStage.size()) * 2.0 * n +
         static_cast<double>(f.lowStage.size()) * n;
}

// One channel's round trip through the oversampled path: 1024 host samples up by 4 and back
// down, with the filters of quality 2 (10 %, 120 dB) or quality 3 (5 %, 150 dB). The counter
// multiply_adds is the rate the filters reach; BM_PeakMultiplyAdds gives the machine's.
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
  state.counters["multiply_adds"] = benchmark::Counter(
      RoundTripMultiplyAdds(band, atten, kBlock), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_UpDownRoundTrip)->ArgName("quality")->Arg(2)->Arg(3);

// The processor's peak rate of 64-bit multiply-adds: sixteen independent chains of fused
// multiply-adds on the widest vectors it has (AVX-512, else AVX2 with FMA), enough to cover the
// latency of each.
__attribute__((target("avx512f,fma"))) double PeakAvx512(long rounds)
{
  __m512d acc[16];
  for (__m512d& a : acc)
    a = _mm512_set1_pd(1.0);
  const __m512d m = _mm512_set1_pd(0.999999);
  const __m512d c = _mm512_set1_pd(1e-9);
  for (long r = 0; r < rounds; ++r)
  {
    for (__m512d& a : acc)
      a = _mm512_fmadd_pd(a, m, c);
  }
  alignas(64) double lanes[8];
  double sum = 0.0;
  for (const __m512d& a : acc)
  {
    _mm512_store_pd(lanes, a);
    for (const double lane : lanes)
      sum += lane;
  }
  return sum;
}

__attribute__((target("avx2,fma"))) double PeakAvx2(long rounds)
{
  __m256d acc[16];
  for (__m256d& a : acc)
    a = _mm256_set1_pd(1.0);
  const __m256d m = _mm256_set1_pd(0.999999);
  const __m256d c = _mm256_set1_pd(1e-9);
  for (long r = 0; r < rounds; ++r)
  {
    for (__m256d& a : acc)
      a = _mm256_fmadd_pd(a, m, c);
  }
  alignas(32) double lanes[4];
  double sum = 0.0;
  for (const __m256d& a : acc)
  {
    _mm256_store_pd(lanes, a);
    sum += lanes[0] + lanes[1] + lanes[2] + lanes[3];
  }
  return sum;
}

void BM_PeakMultiplyAdds(benchmark::State& state)
{
  constexpr long kRounds = 4096;
  const bool wide = __builtin_cpu_supports("avx512f");
  if (!wide && !(__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma")))
  {
    state.SkipWithError("no fused multiply-add");
    return;
  }
  for (auto _ : state)
  {
    // Seen as changed each time, so the call cannot be hoisted out of the loop.
    long rounds = kRounds;
    benchmark::DoNotOptimize(rounds);
    benchmark::DoNotOptimize(wide ? PeakAvx512(rounds) : PeakAvx2(rounds));
  }
  state.counters["multiply_adds"] = benchmark::Counter(
      16.0 * (wide ? 8 : 4) * kRounds, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_PeakMultiplyAdds);

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
