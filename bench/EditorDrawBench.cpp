#include "tests/graphics/FullEditor.h"

#include <benchmark/benchmark.h>

namespace
{

using velmora::test::FullEditor;

float ScaleArg(const benchmark::State& state)
{
  return static_cast<float>(state.range(0)) / 100.f;
}

// The whole editor: background, eleven knobs, switch, curve, four meters, version text.
void BM_FullRedraw(benchmark::State& state)
{
  FullEditor editor(ScaleArg(state));
  for (int m = 0; m < 4; ++m)
    editor.SendLevel(m, 0.6f);
  editor.UI().DrawAll();
  for (auto _ : state)
  {
    const auto region = editor.UI().DrawAll();
    benchmark::DoNotOptimize(region);
  }
  state.counters["pixels"] = editor.UI().WindowWidth() * editor.UI().WindowHeight();
}

// What a frame costs while audio runs and nothing else changes: four new meter levels.
void BM_MeterRedraw(benchmark::State& state)
{
  FullEditor editor(ScaleArg(state));
  editor.UI().DrawAll();
  int n = 0;
  for (auto _ : state)
  {
    for (int m = 0; m < 4; ++m)
      editor.SendLevel(m, static_cast<float>((n + 5 * m) % 17) / 16.f);
    ++n;
    const auto region = editor.UI().Draw();
    benchmark::DoNotOptimize(region);
  }
}

} // namespace

BENCHMARK(BM_FullRedraw)->Arg(100)->Arg(150)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MeterRedraw)->Arg(100)->Arg(150)->Arg(200)->Unit(benchmark::kMillisecond);
