#include "editor/LedPositions.h"
#include "tests/resources/EmbeddedImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

namespace velmora::test
{
namespace
{

struct Point
{
  int x;
  int y;
};

int Brightness(const EmbeddedImage::Pixel& p)
{
  return (p.r + p.g + p.b) / 3;
}

class PanelArt : public testing::Test
{
protected:
  EmbeddedImage background{ResourceBytes("vlm_bg_1_6b.png")};
};

TEST_F(PanelArt, EveryLedPositionHoldsAGreenDomeThatStandsOutFromTheWell)
{
  ASSERT_TRUE(background.Valid());
  for (std::size_t meter = 0; meter < kLedTables.size(); ++meter)
  {
    for (const auto& [x, y] : kLedTables[meter])
    {
      const Point led{x, y};
      SCOPED_TRACE(testing::Message()
                   << "meter " << meter + 1 << " LED at " << led.x << "," << led.y);
      const EmbeddedImage::Pixel dome = background.At(led.x + 8, led.y + 8);
      EXPECT_GE(dome.g - std::max(dome.r, dome.b), 10);
      for (const int dy : {-6, 6})
      {
        const EmbeddedImage::Pixel around = background.At(led.x + 8, led.y + 8 + dy);
        EXPECT_GE(dome.g - around.g, 10) << "offset " << dy;
      }
    }
  }
}

TEST_F(PanelArt, VersionAreaIsLeftPlain)
{
  ASSERT_TRUE(background.Valid());
  // Below the bevel lines of the top edge, every row of the area is one flat tone (grain only).
  for (int y = 2; y < 13; ++y)
  {
    int low = 255;
    int high = 0;
    for (int x = 562; x < 650; ++x)
    {
      const int v = Brightness(background.At(x, y));
      low = std::min(low, v);
      high = std::max(high, v);
    }
    EXPECT_LE(high - low, 6) << "row " << y;
  }
}

TEST_F(PanelArt, CurveDisplayIsANearBlackWellWithALighterBorder)
{
  ASSERT_TRUE(background.Valid());
  // Points between the grid lines of the display, and points on its 1-unit border.
  for (const Point inside : {Point{250, 70}, Point{300, 120}, Point{400, 220}})
    EXPECT_LE(Brightness(background.At(inside.x, inside.y)), 20) << inside.x << "," << inside.y;
  for (const Point border : {Point{239, 100}, Point{410, 150}, Point{300, 58}, Point{350, 229}})
  {
    EXPECT_GE(Brightness(background.At(border.x, border.y)), 35) << border.x << "," << border.y;
  }
}

TEST(LedGlow, BlackEdgesAndABrightCoreOfItsColour)
{
  struct Glow
  {
    std::string_view name;
    bool red;
  };
  for (const Glow glow : {Glow{"vlm_glow.png", false}, Glow{"vlm_glow_red.png", true}})
  {
    SCOPED_TRACE(glow.name);
    const EmbeddedImage image(ResourceBytes(glow.name));
    ASSERT_TRUE(image.Valid());
    for (const Point corner : {Point{0, 0}, Point{15, 0}, Point{0, 15}, Point{15, 15}})
      EXPECT_EQ(Brightness(image.At(corner.x, corner.y)), 0) << "adds nothing at its corners";
    EXPECT_GE(Brightness(image.At(8, 8)), 200);
    const EmbeddedImage::Pixel halo = image.At(11, 8);
    EXPECT_GT(glow.red ? halo.r : halo.g, (glow.red ? halo.g : halo.r) + 40);
  }
}

TEST(SwitchImage, OffAndOnFramesShareOneUncutShapeAndOnlyOnIsLit)
{
  const EmbeddedImage image(ResourceBytes("OS_alpha.png"));
  ASSERT_TRUE(image.Valid());
  constexpr int kSize = 29;
  int litOff = 0;
  int litOn = 0;
  for (int y = 0; y < kSize; ++y)
  {
    for (int x = 0; x < kSize; ++x)
    {
      const EmbeddedImage::Pixel off = image.At(x, y);
      const EmbeddedImage::Pixel on = image.At(x, y + kSize);
      EXPECT_EQ(off.a, on.a) << x << "," << y;
      const bool edge = x == 0 || y == 0 || x == kSize - 1 || y == kSize - 1;
      if (edge)
      {
        EXPECT_EQ(off.a, 0) << "cut at the frame edge at " << x << "," << y;
      }
      litOff += off.g > 150 && off.g > off.r + 30;
      litOn += on.g > 150 && on.g > on.r + 30;
    }
  }
  EXPECT_EQ(litOff, 0);
  EXPECT_GT(litOn, 10);
}

} // namespace
} // namespace velmora::test
