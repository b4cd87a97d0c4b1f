// Times redraws of the plug-in's own editor (its images, font and layout, with the meters lit and
// the curve bent) through this platform's drawing back end: cairo on Linux, GDI+ on Windows.
// Plain timing of batches, since the Windows build has no benchmark library:
//   editor_redraw_timing [BATCHES]
// For each draw scale (1, 1.5, 2) it prints the median over the batches of the processor time
// and of the wall-clock time per full redraw and per meter-only redraw (four new levels and one
// frame).
#include "bench/ThreadCpuTime.h"
#include "editor/EditorLayout.h"
#include "editor/ITransferCurveControl.h"
#include "framework/graphics/IGraphics.h"
#include "plugin/Velmora.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace
{

constexpr int kRedrawsPerBatch = 100;
constexpr int kMeters = 4;

void SendLevel(iplug::igraphics::IGraphics& ui, int meter, float level)
{
  const struct
  {
    int32_t tag;
    int32_t nChans;
    int32_t offset;
    float value;
  } record{meter + 1, 1, 0, level};
  ui.SendMsgToControl(meter + 1, 0, sizeof(record), &record);
}

struct Milliseconds
{
  double cpu;
  double wall;
};

// Milliseconds per call of `redraw`, the medians over the batches.
template <typename Redraw> Milliseconds MedianMilliseconds(int batches, Redraw&& redraw)
{
  std::vector<double> cpu;
  std::vector<double> wall;
  int n = 0;
  for (int b = 0; b < batches; ++b)
  {
    const double cpuStart = velmora::bench::ThreadCpuMilliseconds();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRedrawsPerBatch; ++i)
      redraw(n++);
    const std::chrono::duration<double, std::milli> elapsed =
        std::chrono::steady_clock::now() - start;
    cpu.push_back((velmora::bench::ThreadCpuMilliseconds() - cpuStart) / kRedrawsPerBatch);
    wall.push_back(elapsed.count() / kRedrawsPerBatch);
  }
  std::sort(cpu.begin(), cpu.end());
  std::sort(wall.begin(), wall.end());
  return {cpu[cpu.size() / 2], wall[wall.size() / 2]};
}

} // namespace

int main(int argc, char** argv)
{
  const int batches = argc > 1 ? std::clamp(std::atoi(argv[1]), 1, 1000) : 9;
  std::printf("ms per redraw, medians of %d batches of %d, CPU / wall\n", batches,
              kRedrawsPerBatch);
  std::printf("scale  image        full redraw      meters only\n");
  for (const float scale : {1.f, 1.5f, 2.f})
  {
    Velmora plugin{iplug::InstanceInfo{}};
    iplug::igraphics::IGraphics ui(plugin, 650, 400, 60, scale);
    ui.SetResources(iplug::igraphics::ModuleResources());
    iplug::igraphics::ITransferCurveControl* curve = nullptr;
    velmora::LayoutEditor(ui, [&](iplug::igraphics::ITransferCurveControl* c) { curve = c; });
    if (!curve)
      return 1;
    std::vector<double> points(172);
    for (size_t i = 0; i < points.size(); ++i)
      points[i] = 0.5 + 0.45 * std::tanh(3.0 * (static_cast<double>(i) / 86.0 - 1.0));
    curve->SetPoints(points);
    for (int m = 0; m < kMeters; ++m)
      SendLevel(ui, m, 0.6f);
    ui.DrawAll();

    const Milliseconds full = MedianMilliseconds(batches, [&](int) { ui.DrawAll(); });
    const Milliseconds meters = MedianMilliseconds(batches,
                                                   [&](int n)
                                                   {
                                                     for (int m = 0; m < kMeters; ++m)
                                                       SendLevel(ui, m, ((n + 5 * m) % 17) / 16.f);
                                                     ui.Draw();
                                                   });
    std::printf("%-5.2g  %4d x %-4d  %6.3f / %6.3f  %6.3f / %6.3f\n", scale, ui.WindowWidth(),
                ui.WindowHeight(), full.cpu, full.wall, meters.cpu, meters.wall);
  }
  return 0;
}
