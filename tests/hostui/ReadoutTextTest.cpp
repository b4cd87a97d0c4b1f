// The value readout says what hosts display: for every knob and the switch, at a table of
// values, its text is the parameter's name, two spaces and the built module's own display text
// with the unit, as a VST3 host and a CLAP host read them.
#include "framework/core/IParam.h"
#include "framework/graphics/IGraphics.h"
#include "framework/graphics/controls/IValueReadoutControl.h"
#include "tests/editor/EditorTestSupport.h"
#include "tools/host/HostedPlugin.h"
#include "tools/host/HostedPluginLoader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace velmora::test
{
namespace
{

using namespace iplug::igraphics;

struct HostView
{
  std::unique_ptr<host::HostedPlugin> plugin;
  std::vector<host::HostParamInfo> params;
};

// The module's display text as its host shows it: VST3 hosts put the unit after the text, CLAP
// modules include it.
std::string HostDisplay(HostView& host, uint32_t id, double value)
{
  std::string text = host.plugin->TextFromValue(id, value);
  const std::string& units = host.params.at(id).units;
  if (host.plugin->FormatName() == "VST3" && !units.empty())
    text += " " + units;
  return host.params.at(id).name + "  " + text;
}

TEST(ReadoutText, IsTheModulesDisplayTextForEveryControl)
{
  const editor_test::ScopedConfigFolder config;
  editor_test::OpenVelmora editor;
  IGraphics& ui = editor.UI();
  auto* readout = dynamic_cast<IValueReadoutControl*>(ui.GetControl(ui.NControls() - 1));
  ASSERT_NE(readout, nullptr);
  double now = 0.0;
  readout->SetClock([&now] { return now; });

  std::vector<HostView> hosts;
  for (const char* path : {VELMORA_VST3_BUNDLE_PATH, VELMORA_CLAP_MODULE})
  {
    std::string error;
    HostView host{host::LoadHostedPlugin(path, error), {}};
    ASSERT_TRUE(host.plugin) << error;
    host.params = host.plugin->Parameters();
    hosts.push_back(std::move(host));
  }

  int controls = 0;
  for (int i = 0; i < ui.NControls(); ++i)
  {
    const IControl& control = *ui.GetControl(i);
    const int idx = control.GetParamIdx();
    if (idx == iplug::kNoParameter)
      continue;
    ++controls;
    const iplug::IParam& param = *editor.Plugin().GetParam(idx);
    const std::vector<double> values =
        param.Type() == iplug::IParam::kTypeBool
            ? std::vector<double>{0.0, 1.0}
            : std::vector<double>{0.0, 0.0021, 0.25, 0.5, 0.61803, 0.999, 1.0};
    // The mouse rests on the control, so the label shows whatever sets the value.
    const float s = ui.GetTotalScale();
    ui.OnMouseOver(control.GetRECT().MW() * s, control.GetRECT().MH() * s, {});
    now += 1.0;
    for (const double value : values)
    {
      SCOPED_TRACE(std::string(param.GetName()) + " at " + std::to_string(value));
      editor.Plugin().SendParameterValueFromUI(idx, value);
      ui.UpdateControlsOfParam(idx, param.GetNormalized());
      ui.Draw();
      ASSERT_EQ(readout->ShownFor(), &control);
      for (HostView& host : hosts)
        EXPECT_EQ(readout->GetText(), HostDisplay(host, static_cast<uint32_t>(idx), value))
            << host.plugin->FormatName();
    }
    ui.OnMouseOut();
  }
  EXPECT_EQ(controls, 12);
}

} // namespace
} // namespace velmora::test
