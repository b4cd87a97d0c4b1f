#include "tests/graphics/GraphicsTestSupport.h"

#include "editor/IBGridKnobControl.h"

#include <gtest/gtest.h>

using namespace iplug::igraphics;
using namespace velmora::test;

namespace
{

struct GridKnobFixture : ::testing::Test
{
  GridKnobFixture()
  {
    resources.Add("large.png", FrameStripPNG(1024, 1088, 16, 17, 271));
    resources.Add("small.png", FrameStripPNG(752, 799, 16, 17, 271));
  }
  void Build(float scale = 1.f)
  {
    ui = std::make_unique<IGraphics>(plugin, 650, 400, 60, scale);
    ui->SetResources(resources.Table());
    large = Attach(24.f, 152.f, "large.png");
    small = Attach(112.f, 145.f, "small.png");
  }
  IBGridKnobControl* Attach(float x, float y, const char* strip)
  {
    return static_cast<IBGridKnobControl*>(ui->AttachControl(std::make_unique<IBGridKnobControl>(
        x, y, ui->LoadBitmap(strip), 0, 271, 16, EDirection::Vertical, 4.0)));
  }
  void SetParam(double normalized)
  {
    plugin.GetParam(0)->SetNormalized(normalized);
    ui->UpdateControlsOfParam(0, normalized);
    plugin.events.clear();
  }
  // One gesture started and ended.
  void ExpectOneGesture() const
  {
    EXPECT_EQ(plugin.Count("begin 0"), 1);
    EXPECT_EQ(plugin.Count("end 0"), 1);
    ASSERT_FALSE(plugin.events.empty());
    EXPECT_EQ(plugin.events.front(), "begin 0");
    EXPECT_EQ(plugin.events.back(), "end 0");
  }

  GesturePlugin plugin;
  TestResources resources;
  std::unique_ptr<IGraphics> ui;
  IBGridKnobControl* large = nullptr;
  IBGridKnobControl* small = nullptr;
};

} // namespace

TEST_F(GridKnobFixture, RectangleComesFromTheStripSize)
{
  Build();
  EXPECT_EQ(large->GetRECT(), (IRECT{24, 152, 88, 216}));
  EXPECT_EQ(small->GetRECT(), (IRECT{112, 145, 159, 192}));
  EXPECT_EQ(large->FrameWidth(), 64);
  EXPECT_EQ(small->FrameHeight(), 47);
}

TEST_F(GridKnobFixture, ValueSelectsTheNearestFrameAndItsPlaceInTheGrid)
{
  Build();
  struct Case
  {
    double value;
    int frame;
    int largeX, largeY, smallX, smallY;
  };
  const double eps = 1e-9;
  for (const Case c :
       {Case{0.0, 0, 0, 0, 0, 0}, Case{1.0, 270, 896, 1024, 658, 752},
        Case{0.5, 135, 448, 512, 329, 376}, Case{1.0 / 540 - eps, 0, 0, 0, 0, 0},
        Case{1.0 / 540 + eps, 1, 64, 0, 47, 0}, Case{3.0 / 540 - eps, 1, 64, 0, 47, 0},
        Case{3.0 / 540 + eps, 2, 128, 0, 94, 0}, Case{1.5, 270, 896, 1024, 658, 752},
        Case{-0.5, 0, 0, 0, 0, 0}})
  {
    const int frame = large->FrameIndex(c.value);
    EXPECT_EQ(frame, c.frame) << c.value;
    EXPECT_EQ(large->FrameSourceX(frame), c.largeX) << c.value;
    EXPECT_EQ(large->FrameSourceY(frame), c.largeY) << c.value;
    EXPECT_EQ(small->FrameSourceX(frame), c.smallX) << c.value;
    EXPECT_EQ(small->FrameSourceY(frame), c.smallY) << c.value;
  }
  EXPECT_EQ(large->FrameSourceX(135) / 64, 7);
  EXPECT_EQ(large->FrameSourceY(135) / 64, 8);
}

TEST_F(GridKnobFixture, DrawsExactlyTheSelectedFrameOverItsRectangle)
{
  Build();
  for (const auto& [value, frame] : {std::pair{0.0, 0}, {0.5, 135}, {1.0, 270}, {0.2, 54}})
  {
    SetParam(value);
    ui->Draw();
    const PixelView px = ui->GetPixels();
    EXPECT_EQ(px.At(24, 152), FrameColour(frame)) << value;
    EXPECT_EQ(px.At(87, 215), FrameColour(frame)) << value;
    EXPECT_EQ(px.At(112, 145), FrameColour(frame)) << value;
    EXPECT_EQ(px.At(158, 191), FrameColour(frame)) << value;
    EXPECT_EQ(px.At(23, 152), 0u);
    EXPECT_EQ(px.At(88, 215), 0u);
    EXPECT_EQ(px.At(87, 216), 0u);
    EXPECT_EQ(px.At(159, 191), 0u);
  }
}

TEST_F(GridKnobFixture, DragOfHeightTimesGearingRunsThroughTheRangeAsOneGesture)
{
  for (const float scale : {1.f, 2.f})
  {
    Build(scale);
    SetParam(0.0);
    ui->OnMouseDown(50 * scale, 180 * scale, {true});
    EXPECT_TRUE(ui->IsCursorHidden());
    ui->OnMouseDrag(50 * scale, 52 * scale, 0, -128 * scale, {true});
    EXPECT_DOUBLE_EQ(plugin.Normalized(0), 0.5) << scale;
    ui->OnMouseDrag(50 * scale, -76 * scale, 0, -128 * scale, {true});
    EXPECT_DOUBLE_EQ(plugin.Normalized(0), 1.0) << scale;
    ui->OnMouseDrag(50 * scale, -176 * scale, 0, -100 * scale, {true});
    EXPECT_DOUBLE_EQ(plugin.Normalized(0), 1.0) << scale;
    EXPECT_DOUBLE_EQ(large->GetValue(), 1.0);
    ui->OnMouseDrag(50 * scale, -170 * scale, 0, 64 * scale, {true});
    EXPECT_DOUBLE_EQ(plugin.Normalized(0), 0.75) << scale;
    ui->OnMouseUp(50 * scale, -170 * scale, {true});
    EXPECT_FALSE(ui->IsCursorHidden());
    float x = 0, y = 0;
    ASSERT_TRUE(ui->TakeCursorRestore(x, y));
    EXPECT_EQ(x, 50 * scale);
    EXPECT_EQ(y, 180 * scale);
    ExpectOneGesture();
    EXPECT_EQ(plugin.Count("change 0"), 3);
  }
}

TEST_F(GridKnobFixture, ShiftOrControlMakeDragsTenTimesFinerAndSmallKnobsTravelTheirHeight)
{
  Build();
  for (const IMouseMod mod : {IMouseMod{true, false, true}, IMouseMod{true, false, false, true}})
  {
    SetParam(0.0);
    ui->OnMouseDown(50, 180, mod);
    ui->OnMouseDrag(50, 180 - 256, 0, -256, mod);
    ui->OnMouseUp(50, 180 - 256, mod);
    EXPECT_NEAR(plugin.Normalized(0), 0.1, 1e-12);
    ExpectOneGesture();
  }
  SetParam(0.0);
  ui->OnMouseDown(130, 160, {true});
  ui->OnMouseDrag(130, 160 - 94, 0, -94, {true});
  EXPECT_DOUBLE_EQ(plugin.Normalized(0), 0.5);
  ui->OnMouseDrag(130, 160 - 188, 0, -94, {true});
  EXPECT_DOUBLE_EQ(plugin.Normalized(0), 1.0);
  ui->OnMouseUp(130, 160 - 188, {true});
}

TEST_F(GridKnobFixture, WheelStepsAndDoubleClickAreOneGestureEach)
{
  Build(1.5f);
  struct Case
  {
    IMouseMod mod;
    float steps;
    double expected;
  };
  SetParam(0.5);
  for (const Case c :
       {Case{{}, 1.f, 0.51}, Case{{}, -3.f, 0.48}, Case{{false, false, true}, 1.f, 0.481},
        Case{{false, false, false, true}, -2.f, 0.479}})
  {
    plugin.events.clear();
    ui->OnMouseWheel(50 * 1.5f, 180 * 1.5f, c.mod, c.steps);
    EXPECT_NEAR(plugin.Normalized(0), c.expected, 1e-12);
    ExpectOneGesture();
  }
  SetParam(0.0);
  ui->OnMouseWheel(50 * 1.5f, 180 * 1.5f, {}, -1.f);
  EXPECT_EQ(plugin.Normalized(0), 0.0);
  plugin.events.clear();
  ui->OnMouseDblClick(50 * 1.5f, 180 * 1.5f, {true});
  EXPECT_DOUBLE_EQ(plugin.GetParam(0)->Value(), 25.0);
  EXPECT_DOUBLE_EQ(large->GetValue(), 0.25);
  ExpectOneGesture();
  plugin.events.clear();
  ui->OnMouseUp(50 * 1.5f, 180 * 1.5f, {true});
  EXPECT_TRUE(plugin.events.empty());
}

TEST_F(GridKnobFixture, ClosingTheEditorDuringADragEndsTheGesture)
{
  Build();
  SetParam(0.0);
  ui->OnMouseDown(50, 180, {true});
  ui->OnMouseDrag(50, 170, 0, -10, {true});
  ui.reset();
  ExpectOneGesture();
}

// A knob is redrawn only when its value moves it to another frame, whether the value comes from
// the host or from the mouse; the parameter takes every value either way.
TEST_F(GridKnobFixture, RedrawsOnlyWhenTheFrameChanges)
{
  Build();
  ui->Draw();
  const double step = 1.0 / 270;
  struct Case
  {
    const char* what;
    double value;
    bool redrawn;
  };
  for (const Case c : {Case{"frame 100", 100 * step, true}, Case{"same frame", 100.3 * step, false},
                       Case{"same frame below", 99.6 * step, false},
                       Case{"next frame", 101 * step, true}, Case{"back", 100 * step, true}})
  {
    SCOPED_TRACE(c.what);
    SetParam(c.value);
    EXPECT_EQ(large->IsDirty(), c.redrawn);
    EXPECT_EQ(!ui->Draw().Empty(), c.redrawn);
  }

  // Fine wheel steps of 0.001 stay within a frame (1/270) for a few steps: each reaches the
  // parameter, only the ones that cross a frame boundary redraw.
  int redraws = 0;
  const int firstFrame = large->FrameIndex(large->GetValue());
  for (int i = 0; i < 10; ++i)
  {
    ui->OnMouseWheel(56.f, 184.f, IMouseMod{false, false, true}, 1.f);
    redraws += !ui->Draw().Empty();
  }
  EXPECT_EQ(plugin.Count("change 0"), 10);
  EXPECT_EQ(redraws, large->FrameIndex(large->GetValue()) - firstFrame);
  EXPECT_GT(redraws, 0);
  EXPECT_LT(redraws, 10);
}
