#include "tests/graphics/GraphicsTestSupport.h"

#include "editor/ITransferCurveControl.h"

#include <gtest/gtest.h>

using namespace iplug::igraphics;
using namespace velmora::test;

namespace
{

constexpr uint32_t kGreen = 0x95DB5E;

bool Near(uint32_t a, uint32_t b, int tolerance)
{
  return std::abs(Red(a) - Red(b)) <= tolerance && std::abs(Green(a) - Green(b)) <= tolerance &&
         std::abs(Blue(a) - Blue(b)) <= tolerance;
}

struct CurveFixture : ::testing::Test
{
  void Build(uint32_t under = 0)
  {
    ui = std::make_unique<IGraphics>(plugin, 650, 400);
    if (under)
      ui->AttachControl(std::make_unique<PaintControl>(
          IRECT{0, 0, 650, 400},
          [under](IGraphics& g, const IRECT& r) {
            g.FillRect({255, Red(under), Green(under), Blue(under)}, r);
          }));
    curve = static_cast<ITransferCurveControl*>(
        ui->AttachControl(std::make_unique<ITransferCurveControl>(
            IRECT{239, 58, 411, 230}, IColor{255, 149, 219, 94}, IBlend{EBlend::Add, 1.f})));
  }
  void Hand(double value)
  {
    const std::vector<double> points(172, value);
    curve->SetPoints(points);
  }
  // Rows of the picture that hold anything other than `background`.
  std::vector<int> RowsDrawn(uint32_t background = 0)
  {
    const PixelView px = ui->GetPixels();
    std::vector<int> rows;
    for (int y = 0; y < px.height; ++y)
      for (int x = 0; x < px.width; ++x)
        if (px.At(x, y) != background)
        {
          rows.push_back(y);
          break;
        }
    return rows;
  }

  GesturePlugin plugin;
  std::unique_ptr<IGraphics> ui;
  ITransferCurveControl* curve = nullptr;
};

} // namespace

TEST_F(CurveFixture, NothingIsDrawnBeforeTheFirstHandOffOrWithOnePoint)
{
  Build();
  ui->DrawAll();
  EXPECT_TRUE(RowsDrawn().empty());
  curve->SetPoints(std::vector<double>{0.5});
  ui->Draw();
  EXPECT_TRUE(RowsDrawn().empty());
}

TEST_F(CurveFixture, EqualPointsDrawAHorizontalLineOneUnitThick)
{
  Build();
  Hand(0.5);
  ui->Draw();
  // Centred on y = 229 - 171 x 0.5 = 143.5, from x = 239 to 239 + 171 x 171/172 = 409.006.
  EXPECT_EQ(RowsDrawn(), std::vector<int>{143});
  const PixelView px = ui->GetPixels();
  // Neighbouring segments share the pixels at their joins; their coverages add up to one.
  for (int x = 239; x <= 408; ++x)
    ASSERT_TRUE(Near(px.At(x, 143), kGreen, 3)) << x;
  EXPECT_EQ(px.At(238, 143), 0u);
  EXPECT_LT(Green(px.At(409, 143)), 10);
  EXPECT_EQ(px.At(410, 143), 0u);
}

TEST_F(CurveFixture, TheLimitsOfThePointsStayInsideTheFrame)
{
  Build();
  std::vector<double> points(172);
  for (size_t i = 0; i < points.size(); ++i)
    points[i] = i < 86 ? 0.999 : 0.0015;
  curve->SetPoints(points);
  ui->Draw();
  const std::vector<int> rows = RowsDrawn();
  ASSERT_FALSE(rows.empty());
  // 0.999 of the span is y = 58.17, 0.0015 is y = 228.74; the line is one unit thick, and
  // drawing keeps within the control's rectangle.
  EXPECT_EQ(rows.front(), 58);
  EXPECT_EQ(rows.back(), 229);
  const PixelView px = ui->GetPixels();
  for (int y = 0; y < 400; ++y)
  {
    ASSERT_EQ(px.At(238, y), 0u);
    ASSERT_EQ(px.At(411, y), 0u);
  }
}

TEST_F(CurveFixture, AdditiveBlendBrightensWhatLiesUnderIt)
{
  Build(0x323232);
  Hand(0.5);
  ui->DrawAll();
  const PixelView px = ui->GetPixels();
  EXPECT_TRUE(Near(px.At(300, 143), 0xC7FF90u, 3)); // (50 + 149, 50 + 219 held at 255, 50 + 94)
  EXPECT_EQ(px.At(300, 142), 0x323232u);
  EXPECT_EQ(RowsDrawn(0x323232), std::vector<int>{143});
}

TEST_F(CurveFixture, NewPointsRedrawOnlyTheCurveArea)
{
  Build(0x101010);
  Hand(0.5);
  ui->DrawAll();
  Hand(0.25);
  EXPECT_EQ(ui->Draw(), (PixelRect{239, 58, 172, 172}));
  // Now centred on 229 - 171 x 0.25 = 186.25.
  EXPECT_EQ(RowsDrawn(0x101010), (std::vector<int>{185, 186}));
}
