#include "tests/graphics/GraphicsTestSupport.h"

#include "editor/DisplayScalePreference.h"
#include "editor/IBGridKnobControl.h"
#include "editor/ITransferCurveControl.h"
#include "plugin/Velmora.h"
#include "plugin/VelmoraParams.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace iplug::igraphics;
using namespace velmora::test;

// A knob drag in the editor reaches the plug-in's parameter and its change handling, which
// hands a new curve to the curve display.
TEST(VelmoraEdit, AKnobDragChangesTheParameterAndTheCurveShown)
{
  // Opening brings the editor to the stored scale: store the one this test draws at.
  const std::filesystem::path settings =
      std::filesystem::temp_directory_path() / "velmora-edit-test-settings";
  ::setenv("XDG_CONFIG_HOME", settings.c_str(), 1);
  ASSERT_TRUE(velmora::WritePreference("velmora", 2.f));
  TestResources resources;
  resources.Add("x271_frame_stack_fixed_again.png", FrameStripPNG(1024, 1088, 16, 17, 271));
  Velmora plugin(iplug::InstanceInfo{});
  ITransferCurveControl* curve = nullptr;
  IBGridKnobControl* knob = nullptr;
  plugin.SetEditorCreateFunc(
      [&]
      {
        auto ui = std::make_unique<IGraphics>(plugin, 650, 400, 60, 2.f);
        ui->SetResources(resources.Table());
        return ui;
      });
  plugin.SetLayoutFunc(
      [&](IGraphics& g)
      {
        knob = static_cast<IBGridKnobControl*>(g.AttachControl(std::make_unique<IBGridKnobControl>(
            24.f, 152.f, g.LoadBitmap("x271_frame_stack_fixed_again.png"), kGain, 271, 16)));
        curve = static_cast<ITransferCurveControl*>(
            g.AttachControl(std::make_unique<ITransferCurveControl>(
                IRECT{239, 58, 411, 230}, IColor{255, 149, 219, 94}, IBlend{EBlend::Add, 1.f})));
        plugin.LinkCurveControl(curve);
      });
  IGraphics* ui = plugin.OpenEditor();
  ASSERT_NE(ui, nullptr);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.0); // Gain's default, 0 dB, is its minimum
  std::vector<double> before;
  curve->CopyPoints(before);
  ASSERT_EQ(before.size(), 172u);
  ui->DrawAll();

  ui->OnMouseDown(100, 360, {true});
  ui->OnMouseDrag(100, 104, 0, -256, {true});
  ui->OnMouseUp(100, 104, {true});
  EXPECT_DOUBLE_EQ(plugin.GetParam(kGain)->Value(), 30.0);
  std::vector<double> after;
  curve->CopyPoints(after);
  ASSERT_EQ(after.size(), 172u);
  EXPECT_EQ(after.back(), 0.999); // driven into the ceiling
  EXPECT_LT(before.back(), 0.999);
  EXPECT_TRUE(curve->IsDirty());
  // The union of the knob and the curve display, in pixels at scale 2.
  EXPECT_EQ(ui->Draw(), (PixelRect{48, 116, 774, 344}));
  plugin.CloseEditor();
  std::filesystem::remove_all(settings);
}
