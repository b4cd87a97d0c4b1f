#include "editor/IBGridKnobControl.h"
#include "editor/ITransferCurveControl.h"
#include "editor/IVLMLEDMeterControl.h"
#include "framework/core/ISender.h"
#include "framework/graphics/controls/IBSwitchControl.h"
#include "framework/graphics/controls/IBitmapControl.h"
#include "framework/graphics/controls/ITextControl.h"
#include "framework/graphics/controls/IValueReadoutControl.h"
#include "tests/editor/EditorTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <typeindex>

using namespace iplug::igraphics;
using editor_test::OpenVelmora;
using editor_test::ScopedConfigFolder;
using iplug::kNoParameter;
using iplug::kNoTag;

namespace
{

struct ExpectedControl
{
  std::type_index type;
  IRECT rect;
  const char* bitmap; // resource the control draws from; nullptr when none or not exposed
  int paramIdx;
  int tag;
};

const IRECT kCornerRectAtScale1{539, 289, 649, 399};

const ExpectedControl kExpected[] = {
    {typeid(IBitmapControl), {0, 0, 650, 400}, "vlm_bg_1_6b.png", kNoParameter, kNoTag},
    {typeid(IBGridKnobControl), {24, 152, 88, 216}, "x271_frame_stack_fixed_again.png", 0, kNoTag},
    {typeid(IBGridKnobControl), {112, 145, 159, 192}, "smallknob.png", 1, kNoTag},
    {typeid(IBGridKnobControl), {26, 309, 90, 373}, "x271_frame_stack_fixed_again.png", 4, kNoTag},
    {typeid(IBGridKnobControl), {63, 249, 110, 296}, "smallknob.png", 5, kNoTag},
    {typeid(IBGridKnobControl),
     {563, 152, 627, 216},
     "x271_frame_stack_fixed_again.png",
     2,
     kNoTag},
    {typeid(IBGridKnobControl), {494, 146, 541, 193}, "smallknob.png", 3, kNoTag},
    {typeid(IBGridKnobControl), {539, 250, 586, 297}, "smallknob.png", 6, kNoTag},
    {typeid(IBGridKnobControl), {571, 318, 618, 365}, "smallknob.png", 7, kNoTag},
    {typeid(IBGridKnobControl),
     {154, 268, 218, 332},
     "x271_frame_stack_fixed_again.png",
     8,
     kNoTag},
    {typeid(IBGridKnobControl), {370, 294, 417, 341}, "smallknob.png", 9, kNoTag},
    {typeid(IBGridKnobControl), {443, 267, 490, 314}, "smallknob.png", 10, kNoTag},
    {typeid(IBSwitchControl), {480, 330, 509, 359}, "OS_alpha.png", 11, kNoTag},
    {typeid(ITransferCurveControl), {239, 58, 411, 230}, nullptr, kNoParameter, kNoTag},
    {typeid(IVLMLEDMeterControl), {28, 26, 178, 76}, nullptr, kNoParameter, 1},
    {typeid(IVLMLEDMeterControl), {37, 43, 187, 93}, nullptr, kNoParameter, 2},
    {typeid(IVLMLEDMeterControl), {470, 26, 620, 76}, nullptr, kNoParameter, 3},
    {typeid(IVLMLEDMeterControl), {480, 43, 630, 93}, nullptr, kNoParameter, 4},
    {typeid(ITextControl), {562, 0, 650, 13}, nullptr, kNoParameter, kNoTag},
    {typeid(IRasterScaleCornerDragControl), kCornerRectAtScale1, nullptr, kNoParameter, kNoTag},
    // Placed where it shows, and hidden until then.
    {typeid(IValueReadoutControl), {}, nullptr, kNoParameter, kNoTag},
};

std::string ResourceName(const IBitmapBase& control)
{
  const int idx = control.GetBitmap().GetResourceIdx();
  const auto table = ModuleResources();
  return idx >= 0 && idx < static_cast<int>(table.size())
             ? std::string(table[static_cast<size_t>(idx)].name)
             : std::string("<none>");
}

class EditorLayout : public ::testing::Test
{
protected:
  ScopedConfigFolder mConfig;
  OpenVelmora mEditor;
};

} // namespace

TEST_F(EditorLayout, AttachesTheTwentyOneControlsInOrder)
{
  IGraphics& ui = mEditor.UI();
  ASSERT_EQ(ui.NControls(), static_cast<int>(std::size(kExpected)));
  for (int i = 0; i < ui.NControls(); ++i)
  {
    SCOPED_TRACE("control " + std::to_string(i + 1));
    const ExpectedControl& want = kExpected[i];
    const IControl& control = *ui.GetControl(i);
    EXPECT_EQ(std::type_index(typeid(control)), want.type);
    EXPECT_EQ(control.GetRECT(), want.rect);
    EXPECT_EQ(control.GetParamIdx(), want.paramIdx);
    EXPECT_EQ(control.GetTag(), want.tag);
    if (want.bitmap)
    {
      const auto* bitmapped = dynamic_cast<const IBitmapBase*>(&control);
      ASSERT_NE(bitmapped, nullptr);
      EXPECT_EQ(ResourceName(*bitmapped), want.bitmap);
    }
  }
}

TEST_F(EditorLayout, KnobsCutTheirStripsIntoTheGridAndDragVertically)
{
  for (int i = 1; i <= 11; ++i)
  {
    SCOPED_TRACE("control " + std::to_string(i + 1));
    const auto& knob = dynamic_cast<const IBGridKnobControl&>(*mEditor.UI().GetControl(i));
    EXPECT_EQ(knob.FrameIndex(1.0), 270);
    EXPECT_EQ(knob.FrameSourceX(16), 0);
    EXPECT_EQ(knob.FrameSourceY(16), knob.FrameHeight());
    EXPECT_EQ(knob.FrameWidth(), static_cast<int>(knob.GetRECT().W()));
    EXPECT_EQ(knob.GetDirection(), EDirection::Vertical);
    EXPECT_EQ(knob.GetGearing(), 4.0);
  }
  const auto& os = dynamic_cast<const IBSwitchControl&>(*mEditor.UI().GetControl(12));
  EXPECT_EQ(os.GetBitmap().N(), 2);
}

// Every knob and the switch, those at the editor's edges included, get their readout just above
// them or, with no room there, below; never outside the editor and never over the control.
TEST_F(EditorLayout, TheReadoutOfEveryControlStaysInsideTheEditorAndOffTheControl)
{
  IGraphics& ui = mEditor.UI();
  const auto& readout = dynamic_cast<const IValueReadoutControl&>(*ui.GetControl(20));
  for (const float scale : {1.f, 2.f})
  {
    IRasterScaleCornerDragControl::RescaleEditor(ui, scale);
    int shown = 0;
    for (int i = 0; i < ui.NControls(); ++i)
    {
      const IControl& control = *ui.GetControl(i);
      if (control.GetParamIdx() == kNoParameter)
        continue;
      SCOPED_TRACE("control " + std::to_string(i + 1) + " at " + std::to_string(scale));
      const IRECT& r = control.GetRECT();
      ui.OnMouseDown(r.MW() * scale, r.MH() * scale, {true, false});
      ui.Draw();
      ui.OnMouseUp(r.MW() * scale, r.MH() * scale, {true, false});
      ASSERT_EQ(readout.ShownFor(), &control);
      const IRECT box = readout.GetRECT();
      EXPECT_GE(box.L, 0.f);
      EXPECT_GE(box.T, 0.f);
      EXPECT_LE(box.R, 650.f);
      EXPECT_LE(box.B, 400.f);
      EXPECT_FALSE(box.Intersects(r));
      EXPECT_LE(box.B, r.T) << "above";
      ++shown;
    }
    EXPECT_EQ(shown, 12);
  }
}

TEST_F(EditorLayout, VersionLabelReadsTheProductVersionRightAlignedAtTheTop)
{
  IGraphics& ui = mEditor.UI();
  auto& label = dynamic_cast<ITextControl&>(*ui.GetControl(18));
  EXPECT_EQ(label.GetStr(), "4.1.2");
  EXPECT_EQ(label.GetStr(), mEditor.Plugin().GetVersionString());
  const IText& style = label.GetText();
  EXPECT_EQ(style.Font(), "Roboto-Regular");
  EXPECT_EQ(style.mSize, 13.f);
  EXPECT_EQ(style.mAlign, EAlign::Far);
  EXPECT_EQ(style.mVAlign, EVAlign::Middle);
  EXPECT_EQ(style.mFGColor.G, 219);
  EXPECT_TRUE(label.GetIgnoreMouse());

  // On the picture: the text ends near the right edge, centred in the top 13 rows.
  const auto shown = editor_test::Render(ui);
  label.Hide(true);
  const auto hidden = editor_test::Render(ui);
  const PixelRect text = editor_test::DifferingArea(shown, hidden);
  ASSERT_FALSE(text.Empty());
  EXPECT_GE(text.x + text.w, 640);
  EXPECT_LE(text.x + text.w, 650);
  EXPECT_GE(text.y, 0);
  EXPECT_LE(text.y + text.h, 13);
  EXPECT_NEAR(text.y + text.h / 2.0, 6.5, 1.5);
}

TEST_F(EditorLayout, ClicksReachTheControlOnTopAtBothScales)
{
  struct Case
  {
    float scale;
    float px; // window pixels
    float py;
    int control;
    const char* what;
  };
  // The corner keeps its size on screen, so at scale 2 its click keeps its distance from the
  // window's corner, and the logical point of the scale-1 click falls on the knob below.
  const Case cases[] = {
      {1.f, 50, 180, 1, "Threshold knob"}, {1.f, 300, 150, 0, "background"},
      {1.f, 615, 363, 19, "corner"},       {2.f, 100, 360, 1, "Threshold knob"},
      {2.f, 600, 300, 0, "background"},    {2.f, 1300 - 35, 800 - 37, 19, "corner"},
      {2.f, 1230, 726, 8, "Mod B knob"},
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(std::string(c.what) + " at scale " + std::to_string(c.scale));
    IGraphics& ui = mEditor.UI();
    IRasterScaleCornerDragControl::RescaleEditor(ui, c.scale);
    ui.OnMouseDown(c.px, c.py, {true});
    EXPECT_EQ(ui.GetCapturedControl(), ui.GetControl(c.control));
    ui.OnMouseUp(c.px, c.py, {true});
    EXPECT_EQ(ui.GetDrawScale(), c.scale);
  }
}

TEST_F(EditorLayout, MetersLightTheirFirstAndLastLEDsWhereTheTableSays)
{
  struct Case
  {
    int tag;
    int firstX, firstY, lastX, lastY;
  };
  const Case cases[] = {
      {1, 28, 49, 151, 28}, {2, 37, 64, 148, 45}, {3, 605, 49, 482, 28}, {4, 596, 64, 485, 45}};
  IGraphics& ui = mEditor.UI();
  const auto dark = editor_test::Render(ui);
  for (const Case& c : cases)
  {
    SCOPED_TRACE("meter " + std::to_string(c.tag));
    const iplug::ISenderData<1, float> full{c.tag, 1, 0, {1.f}};
    ui.SendMsgToControl(c.tag, 0, sizeof full, &full);
    const auto lit = editor_test::Render(ui);
    // The centre of each LED square brightens.
    for (const auto& [x, y] : {std::pair{c.firstX, c.firstY}, std::pair{c.lastX, c.lastY}})
    {
      const uint32_t before = dark.At(x + 8, y + 8);
      const uint32_t after = lit.At(x + 8, y + 8);
      const auto sum = [](uint32_t p) { return ((p >> 16) & 255) + ((p >> 8) & 255) + (p & 255); };
      EXPECT_GT(sum(after), sum(before) + 60) << x << "," << y;
    }
  }
}
