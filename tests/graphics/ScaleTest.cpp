#include "tests/graphics/FullEditor.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace iplug::igraphics;
using namespace velmora::test;

TEST(EditorScale, ImageSizeAndEveryControlFollowTheDrawScale)
{
  struct Case
  {
    float scale;
    int width;
    int height;
  };
  for (const Case c : {Case{1.f, 650, 400}, Case{1.5f, 975, 600}, Case{2.f, 1300, 800}})
  {
    FullEditor editor(c.scale);
    IGraphics& g = editor.UI();
    editor.UI().UpdateControlsOfParam(0, 0.5);
    editor.UI().UpdateControlsOfParam(1, 1.0);
    editor.SendLevel(2, 1.f);
    g.DrawAll();
    const PixelView px = g.GetPixels();
    ASSERT_EQ(px.width, c.width);
    ASSERT_EQ(px.height, c.height);
    const auto at = [&](float x, float y)
    { return px.At(static_cast<int>(x * c.scale), static_cast<int>(y * c.scale)); };
    // Knobs (frame 135 of the test strips), switch, background, the red LED at full scale.
    EXPECT_EQ(at(25.f, 153.f), FrameColour(135)) << c.scale;
    EXPECT_EQ(at(87.f, 215.f), FrameColour(135)) << c.scale;
    EXPECT_EQ(at(600.f, 350.f), FrameColour(135)) << c.scale;
    EXPECT_EQ(at(22.f, 150.f), 0x1E2023u) << c.scale;
    EXPECT_EQ(at(494.f, 344.f), 0x95DB5Eu) << c.scale;
    EXPECT_GT(Red(at(491.f, 33.f)), 0x80) << c.scale;
    // The curve (the line y = i / 172) passes through the middle of its square.
    const int midX = static_cast<int>(std::lround(325 * c.scale));
    const int midY = static_cast<int>(std::lround(229 * c.scale - 171 * c.scale * (86.f / 172)));
    int brightest = 0;
    for (int dy = -2; dy <= 2; ++dy)
      brightest = std::max(brightest, Green(px.At(midX, midY + dy)));
    EXPECT_GT(brightest, 0x80) << c.scale;
  }
}

TEST(EditorScale, WindowPixelsMapBackToLogicalUnits)
{
  for (const float scale : {1.f, 1.5f, 2.f})
  {
    FullEditor editor(scale);
    IGraphics& g = editor.UI();
    EXPECT_EQ(g.GetControl(g.GetMouseControlIdx(50, 180)), &editor.Knob(0));
    EXPECT_EQ(g.GetMouseControlIdx(300, 150), 0);
    g.UpdateControlsOfParam(0, 0.0);
    g.OnMouseDown(50 * scale, 180 * scale, {true});
    g.OnMouseDrag(50 * scale, (180 - 256) * scale, 0, -256 * scale, {true});
    g.OnMouseUp(50 * scale, (180 - 256) * scale, {true});
    EXPECT_DOUBLE_EQ(editor.Plugin().Normalized(0), 1.0) << scale;
    // The switch at (480, 330, 509, 359): its corner pixels in window pixels.
    g.OnMouseDown(std::ceil(480 * scale), std::ceil(330 * scale), {true});
    g.OnMouseUp(std::ceil(480 * scale), std::ceil(330 * scale), {true});
    EXPECT_TRUE(editor.Plugin().GetParam(1)->Bool()) << scale;
    g.OnMouseDown(509 * scale, 359 * scale, {true});
    g.OnMouseUp(509 * scale, 359 * scale, {true});
    EXPECT_TRUE(editor.Plugin().GetParam(1)->Bool()) << scale;
  }
}

TEST(EditorScale, ResizingRescalesBitmapsAndRedrawsEverything)
{
  FullEditor editor(1.f);
  IGraphics& g = editor.UI();
  g.DrawAll();
  EXPECT_EQ(editor.Knob(0).GetBitmap().GetScale(), 1);
  g.Resize(1.5f);
  EXPECT_EQ(editor.Knob(0).GetBitmap().GetScale(), 2);
  EXPECT_EQ(editor.Knob(0).GetBitmap().GetAPIBitmap(), editor.Knob(2).GetBitmap().GetAPIBitmap());
  EXPECT_EQ(g.Draw(), (PixelRect{0, 0, 975, 600}));
  g.Resize(1.f);
  EXPECT_EQ(editor.Knob(0).GetBitmap().GetScale(), 1);
  EXPECT_EQ(g.GetPixels().width, 650);
}

TEST(EditorScale, PartialRedrawsGiveTheSamePixelsAsAFullRedraw)
{
  for (const float scale : {1.f, 1.5f, 1.37f})
  {
    FullEditor editor(scale);
    IGraphics& g = editor.UI();
    g.DrawAll();
    for (int m = 0; m < 4; ++m)
      editor.SendLevel(m, 0.3f + 0.2f * m);
    g.UpdateControlsOfParam(0, 0.7);
    editor.Curve().SetPoints(std::vector<double>(FullEditor::kCurvePoints, 0.6));
    EXPECT_FALSE(g.Draw().Empty());
    const PixelView px = g.GetPixels();
    const std::vector<unsigned char> partial(px.data, px.data + px.stride * px.height);
    g.DrawAll();
    const std::vector<unsigned char> full(px.data, px.data + px.stride * px.height);
    EXPECT_TRUE(partial == full) << scale;
  }
}
