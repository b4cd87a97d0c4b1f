#include "tests/editor/EditorTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace iplug::igraphics;
using editor_test::DragToPixel;
using editor_test::OpenVelmora;
using editor_test::PressAt;
using editor_test::ReleaseAt;
using editor_test::ScopedConfigFolder;

namespace
{

// A point inside the corner's hit area at scale 1.
constexpr float kGripX = 640.f;
constexpr float kGripY = 390.f;

class CornerControl : public ::testing::Test
{
protected:
  IGraphics& UI() { return mEditor.UI(); }
  IRasterScaleCornerDragControl& Corner() { return mEditor.Corner(); }

  // Presses the corner 10 pixels inside the window's corner and drags so that the editor's
  // scale becomes `target` (the horizontal movement decides; the vertical one goes further).
  void DragCornerTo(float target, const IMouseMod& mod = {true})
  {
    const float s = UI().GetDrawScale();
    mOriginX = 650.f - 10.f / s;
    mOriginY = 400.f - 10.f / s;
    PressAt(UI(), mOriginX, mOriginY);
    MoveTo(target, mod);
  }
  // The mouse-down position in logical units times the scale is where the mouse must be.
  void MoveTo(float target, const IMouseMod& mod = {true})
  {
    mX = mOriginX * target;
    mY = mOriginY * target * 1.5f;
    DragToPixel(UI(), mX, mY, mod);
  }
  void Release(const IMouseMod& mod = {true}) { ReleaseAt(UI(), mX, mY, mod); }
  void StartAt(float scale) { IRasterScaleCornerDragControl::RescaleEditor(UI(), scale); }

  ScopedConfigFolder mConfig;
  OpenVelmora mEditor;
  float mOriginX = 0.f;
  float mOriginY = 0.f;
  float mX = 0.f;
  float mY = 0.f;
};

} // namespace

TEST_F(CornerControl, NearestAllowedScalePrefersTheSmallerOnTies)
{
  const struct
  {
    float scale;
    float nearest;
  } cases[] = {{1.37f, 1.25f}, {1.375f, 1.25f}, {1.3751f, 1.5f}, {2.6f, 2.f},
               {0.7f, 1.f},    {1.125f, 1.f},   {1.75f, 1.75f}};
  for (const auto& c : cases)
    EXPECT_EQ(Corner().NearestAllowedScale(c.scale), c.nearest) << c.scale;
}

TEST_F(CornerControl, ReleaseSnapsToTheNearestAllowedScaleAndTheLabelSaysWhere)
{
  const struct
  {
    float dragTo;
    float snapped;
    const char* label;
  } cases[] = {
      {1.37f, 1.25f, "125%"}, {1.375f, 1.25f, "125%"}, {2.6f, 2.f, "200%"}, {0.7f, 1.f, "100%"}};
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.dragTo);
    StartAt(1.f);
    DragCornerTo(c.dragTo);
    EXPECT_TRUE(UI().IsResizingInProcess());
    EXPECT_NEAR(UI().GetDrawScale(), c.dragTo, 1e-5);
    EXPECT_EQ(Corner().LabelText(), c.label);
    Release();
    EXPECT_FALSE(UI().IsResizingInProcess());
    EXPECT_EQ(UI().GetDrawScale(), c.snapped);
    EXPECT_EQ(UI().GetPendingSnapScale(), 0.f);
    EXPECT_EQ(Corner().LabelText(), "");
    EXPECT_EQ(UI().WindowWidth(), std::lround(650 * c.snapped));
  }
}

TEST_F(CornerControl, ShiftKeepsTheFreeScaleWithoutALabel)
{
  const IMouseMod shift{true, false, true};
  DragCornerTo(1.37f, shift);
  EXPECT_TRUE(UI().GetDragWithShift());
  EXPECT_EQ(Corner().LabelText(), "");
  Release(shift);
  EXPECT_NEAR(UI().GetDrawScale(), 1.37f, 1e-5);
  EXPECT_FALSE(UI().GetDragWithShift());
}

TEST_F(CornerControl, DragBackToTheStartShowsNoLabelAndDoesNotSnap)
{
  StartAt(1.37f);
  DragCornerTo(1.6f);
  EXPECT_EQ(Corner().LabelText(), "150%");
  MoveTo(1.37f);
  EXPECT_NEAR(UI().GetDrawScale(), 1.37f, 1e-4);
  EXPECT_EQ(Corner().LabelText(), "");
  Release();
  EXPECT_NEAR(UI().GetDrawScale(), 1.37f, 1e-4);
}

TEST_F(CornerControl, DoubleClickReturnsToOne)
{
  StartAt(1.75f);
  const IRECT hit = Corner().GetHitRECT();
  const float s = UI().GetTotalScale();
  UI().OnMouseDblClick(hit.MW() * s, hit.MH() * s, {true});
  EXPECT_EQ(UI().GetDrawScale(), 1.f);
  EXPECT_FALSE(UI().IsResizingInProcess());
}

TEST_F(CornerControl, RightButtonStartsNothing)
{
  const IMouseMod right{false, true};
  PressAt(UI(), kGripX, kGripY, right);
  EXPECT_FALSE(UI().IsResizingInProcess());
  DragToPixel(UI(), 900, 900, right);
  ReleaseAt(UI(), 900, 900, right);
  EXPECT_EQ(UI().GetDrawScale(), 1.f);
}

TEST_F(CornerControl, MouseOverShowsTheResizeCursorAndLeavingRestoresIt)
{
  UI().OnMouseOver(kGripX, kGripY, {});
  EXPECT_EQ(UI().GetMouseCursor(), ECursor::SIZENWSE);
  EXPECT_TRUE(Corner().GetMouseIsOver());
  UI().OnMouseOver(300, 150, {});
  EXPECT_EQ(UI().GetMouseCursor(), ECursor::ARROW);
  EXPECT_FALSE(Corner().GetMouseIsOver());
}

TEST_F(CornerControl, CornerKeepsItsSizeOnScreen)
{
  for (const float scale : {1.f, 1.5f, 2.f})
  {
    StartAt(scale);
    const IRECT hit = Corner().GetHitRECT();
    const IRECT triangle = Corner().GetTriangleRECT();
    // The right and bottom edges sit one unit inside the editor; the others 40 and 20 pixels
    // from the editor's edges on screen.
    EXPECT_NEAR((650.f - hit.L + 1.f) * scale, 40.f, 1e-4) << scale;
    EXPECT_NEAR((400.f - triangle.T + 1.f) * scale, 20.f, 1e-4) << scale;
    EXPECT_EQ(hit.R, 649.f);
    EXPECT_EQ(triangle.B, 399.f);
  }
}

// On the drawn picture: the label box is 58 x 20 pixels and its edges, 1 unit thick, straddle
// lines 8 pixels left of and above the triangle's rectangle.
TEST_F(CornerControl, LabelSitsEightPixelsUpAndLeftOfTheTriangle)
{
  const struct
  {
    float from;
    float to;
  } cases[] = {{1.25f, 1.f}, {1.75f, 2.f}};
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.to);
    StartAt(c.from);
    const IMouseMod shift{true, false, true};
    DragCornerTo(c.to, shift);
    const auto withoutLabel = editor_test::Render(UI());
    MoveTo(c.to);
    ASSERT_FALSE(Corner().LabelText().empty());
    const auto withLabel = editor_test::Render(UI());
    Corner().Hide(true);
    const auto withoutCorner = editor_test::Render(UI());
    Corner().Hide(false);
    Release();

    const PixelRect label = editor_test::DifferingArea(withLabel, withoutLabel);
    const PixelRect triangle = editor_test::DifferingArea(withoutLabel, withoutCorner);
    ASSERT_FALSE(label.Empty());
    ASSERT_FALSE(triangle.Empty());
    const double edge = c.to; // outline width in pixels
    EXPECT_NEAR(label.w, 58 + edge, 1.0);
    EXPECT_NEAR(label.h, 20 + edge, 1.0);
    EXPECT_NEAR(triangle.x - (label.x + label.w), 8 - edge / 2, 1.0);
    EXPECT_NEAR(triangle.y - (label.y + label.h), 8 - edge / 2, 1.0);
    EXPECT_EQ(triangle.x + triangle.w, static_cast<int>(649 * c.to));
  }
}
