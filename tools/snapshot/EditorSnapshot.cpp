// Draws the editor off-screen into a PNG through the plug-in's own editor hooks, optionally
// after playing part of the demo signal through the plug-in so that the meters show it:
//   velmora-editor-snapshot [--scale S] [--set Name=value]... [--demo SECONDS]
//                           [--controls FILE] [--held Name] <output.png>
// The user's stored display scale is left as it was.

#include "editor/DisplayScalePreference.h"
#include "editor/IRasterScaleCornerDragControl.h"
#include "framework/graphics/IGraphics.h"
#include "plugin/Velmora.h"
#include "plugin/VelmoraConfig.h"
#include "tools/DemoSignal.h"
#include "tools/snapshot/ControlList.h"
#include "tools/snapshot/PrivateSettings.h"
#include "tools/snapshot/SnapshotOptions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace
{

constexpr double kSampleRate = 48000.0;
constexpr int kBlockSize = 256;
// The framework's idle tick and the editor's frame rate, which a host's run loop would keep.
constexpr double kIdleInterval = 0.020;
constexpr double kFrameInterval = 1.0 / 60.0;

std::optional<int> FindParam(const Velmora& plugin, const std::string& name)
{
  for (int i = 0; i < plugin.NParams(); ++i)
  {
    if (name == plugin.GetParam(i)->GetName())
      return i;
  }
  return std::nullopt;
}

std::string ParamNames(const Velmora& plugin)
{
  std::string names;
  for (int i = 0; i < plugin.NParams(); ++i)
    names += std::string(i ? ", " : "") + plugin.GetParam(i)->GetName();
  return names;
}

// Plays the demo through the plug-in while running the idle tick and the editor's redraws at
// their real-time intervals, measured in played samples.
void PlayDemo(Velmora& plugin, iplug::igraphics::IGraphics& ui, double seconds)
{
  velmora::tools::StereoBuffer demo = velmora::tools::MakeDemoSignal(kSampleRate, seconds);
  std::vector<double> outLeft(kBlockSize);
  std::vector<double> outRight(kBlockSize);
  double nextIdle = kIdleInterval;
  double nextFrame = kFrameInterval;
  for (int start = 0; start < demo.Frames(); start += kBlockSize)
  {
    const int n = std::min(kBlockSize, demo.Frames() - start);
    double* inputs[] = {demo.left.data() + start, demo.right.data() + start};
    double* outputs[] = {outLeft.data(), outRight.data()};
    plugin.ProcessBlock(inputs, outputs, n);
    const double now = (start + n) / kSampleRate;
    for (; nextIdle <= now; nextIdle += kIdleInterval)
      plugin.OnIdle();
    for (; nextFrame <= now; nextFrame += kFrameInterval)
      ui.Draw();
  }
  plugin.OnIdle();
}

// Presses the left button on the centre of the parameter's control and keeps it held, as at the
// start of a drag. False when no control is bound to the parameter.
bool HoldControlOf(iplug::igraphics::IGraphics& ui, int paramIdx)
{
  for (int i = 0; i < ui.NControls(); ++i)
  {
    const iplug::igraphics::IControl& control = *ui.GetControl(i);
    if (control.GetParamIdx() != paramIdx)
      continue;
    const float s = ui.GetTotalScale();
    iplug::igraphics::IMouseMod left;
    left.L = true;
    ui.OnMouseDown(control.GetRECT().MW() * s, control.GetRECT().MH() * s, left);
    return true;
  }
  return false;
}

int Run(const velmora::tools::SnapshotOptions& options)
{
  const auto settings = velmora::tools::UsePrivateSettings();
  if (!settings || !velmora::WritePreference(velmora::kProductId, options.scale))
  {
    std::fprintf(stderr, "velmora-editor-snapshot: cannot keep the user's settings apart\n");
    return 1;
  }

  Velmora plugin{iplug::InstanceInfo{}};
  plugin.SetSampleRate(kSampleRate);
  plugin.SetBlockSize(kBlockSize);
  plugin.SetChannelConnections(2, 2);
  plugin.OnReset();
  for (const auto& [name, value] : options.settings)
  {
    const std::optional<int> idx = FindParam(plugin, name);
    if (!idx)
    {
      std::fprintf(stderr, "velmora-editor-snapshot: no parameter \"%s\" (there are: %s)\n",
                   name.c_str(), ParamNames(plugin).c_str());
      return 2;
    }
    const iplug::IParam& param = *plugin.GetParam(*idx);
    plugin.SendParameterValueFromUI(*idx, param.ToNormalized(value));
  }

  iplug::igraphics::IGraphics* ui = plugin.OpenEditor();
  if (!ui)
  {
    std::fprintf(stderr, "velmora-editor-snapshot: the editor could not be made\n");
    return 1;
  }
  // On Windows the stored scale is the user's own file, which another process may have written
  // since.
  if (std::fabs(ui->GetDrawScale() - options.scale) >
      IRasterScaleCornerDragControl::kScaleTolerance)
    IRasterScaleCornerDragControl::RescaleEditor(*ui, options.scale);
  if (options.demoSeconds > 0.0)
    PlayDemo(plugin, *ui, options.demoSeconds);
  if (!options.heldParam.empty())
  {
    const std::optional<int> idx = FindParam(plugin, options.heldParam);
    if (!idx || !HoldControlOf(*ui, *idx))
    {
      std::fprintf(stderr, "velmora-editor-snapshot: no control for \"%s\"\n",
                   options.heldParam.c_str());
      plugin.CloseEditor();
      return 2;
    }
  }
  ui->DrawAll();
  std::error_code ignored;
  const std::filesystem::path folder = std::filesystem::path(options.outputPath).parent_path();
  if (!folder.empty())
    std::filesystem::create_directories(folder, ignored);
  const bool written = ui->WritePNG(options.outputPath.c_str());
  const bool listed = options.controlsPath.empty() ||
                      velmora::tools::WriteControlList(*ui, options.controlsPath.c_str());
  const int width = ui->WindowWidth();
  const int height = ui->WindowHeight();
  plugin.CloseEditor();
  if (!written || !listed)
  {
    std::fprintf(stderr, "velmora-editor-snapshot: cannot write %s\n",
                 (written ? options.controlsPath : options.outputPath).c_str());
    return 1;
  }
  std::printf("%s: %d x %d pixels\n", options.outputPath.c_str(), width, height);
  return 0;
}

} // namespace

int main(int argc, char** argv)
{
  std::string error;
  const auto options = velmora::tools::ParseSnapshotOptions(argc, argv, error);
  if (!options)
  {
    std::fprintf(stderr, "velmora-editor-snapshot: %s\n%s", error.c_str(),
                 velmora::tools::SnapshotUsage());
    return 2;
  }
  return Run(*options);
}
