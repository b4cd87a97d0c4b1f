#include "tests/graphics/GraphicsTestSupport.h"

#include "framework/graphics/controls/IBitmapControl.h"
#include "framework/graphics/controls/ITextControl.h"

#include <gtest/gtest.h>

using namespace iplug::igraphics;
using namespace velmora::test;

namespace
{

struct ResourceFixture : ::testing::Test
{
  ResourceFixture()
  {
    resources.Add("VLM_GLOW.PNG", SolidPNG(16, 16, 0x20C040));
    resources.Add("OS_alpha.png", SolidPNG(29, 58, 0x808080, true));
    resources.Add("wide.png", SolidPNG(60, 10, 0x102030));
    resources.Add("broken.png", {0x89, 'P', 'N', 'G', 1, 2, 3});
    resources.Add("broken.ttf", {0, 1, 0, 0, 9, 9});
    resources.Add("Roboto-Regular.ttf", RobotoBytes());
  }
  IGraphics& MakeUI(float scale = 1.f)
  {
    ui = std::make_unique<IGraphics>(plugin, 650, 400, 60, scale);
    ui->SetResources(resources.Table());
    return *ui;
  }

  GesturePlugin plugin;
  TestResources resources;
  std::unique_ptr<IGraphics> ui;
};

} // namespace

TEST_F(ResourceFixture, BitmapsAreFoundWithoutRegardToCaseAndDividedIntoFrames)
{
  IGraphics& g = MakeUI();
  const IBitmap glow = g.LoadBitmap("vlm_glow.png");
  ASSERT_TRUE(glow.IsValid());
  EXPECT_EQ(glow.W(), 16);
  EXPECT_EQ(glow.H(), 16);
  EXPECT_EQ(glow.GetScale(), 1);
  const IBitmap stacked = g.LoadBitmap("os_ALPHA.png", 2);
  EXPECT_EQ(stacked.N(), 2);
  EXPECT_EQ(stacked.FW(), 29);
  EXPECT_EQ(stacked.FH(), 29);
  const IBitmap sideBySide = g.LoadBitmap("wide.png", 3, true);
  EXPECT_EQ(sideBySide.FW(), 20);
  EXPECT_EQ(sideBySide.FH(), 10);
}

TEST_F(ResourceFixture, OneDecodedCopyPerImageAndScaleIsShared)
{
  IGraphics& g = MakeUI(1.5f);
  const IBitmap a = g.LoadBitmap("vlm_glow.png");
  const IBitmap b = g.LoadBitmap("VLM_glow.png");
  EXPECT_EQ(a.GetAPIBitmap(), b.GetAPIBitmap());
  // Target scale 0 takes the total scale rounded up; the logical size stays.
  EXPECT_EQ(a.GetScale(), 2);
  EXPECT_EQ(a.GetAPIBitmap()->Width(), 32);
  EXPECT_EQ(a.W(), 16);
  const IBitmap original = g.LoadBitmap("vlm_glow.png", 1, false, 1);
  EXPECT_EQ(original.GetScale(), 1);
  EXPECT_NE(original.GetAPIBitmap(), a.GetAPIBitmap());
  EXPECT_EQ(g.GetScaledBitmap(original).GetAPIBitmap(), a.GetAPIBitmap());

  g.Resize(3.f);
  const IBitmap three = g.GetScaledBitmap(a);
  EXPECT_EQ(three.GetScale(), 3);
  EXPECT_EQ(three.GetAPIBitmap()->Height(), 48);
  g.SetScreenScale(2.f);
  EXPECT_EQ(g.GetScaledBitmap(a).GetScale(), IGraphics::kMaxBitmapScale);
}

TEST_F(ResourceFixture, MissingOrBrokenResourcesFailAndTheRestStillDraws)
{
  IGraphics& g = MakeUI(2.f);
  EXPECT_FALSE(g.LoadBitmap("absent.png").IsValid());
  EXPECT_FALSE(g.LoadBitmap("broken.png").IsValid());
  EXPECT_FALSE(g.LoadBitmap(nullptr).IsValid());
  EXPECT_FALSE(g.LoadFont("Broken", "broken.ttf"));
  EXPECT_FALSE(g.LoadFont("Absent", "absent.ttf"));
  EXPECT_FALSE(g.HasFont("Broken"));
  ASSERT_TRUE(g.LoadFont("Roboto-Regular", "Roboto-Regular.ttf"));
  EXPECT_TRUE(g.LoadFont("Roboto-Regular", "absent.ttf")); // already registered

  g.AttachControl(std::make_unique<IBitmapControl>(0.f, 0.f, g.LoadBitmap("absent.png")));
  g.AttachControl(std::make_unique<IBitmapControl>(100.f, 100.f, g.LoadBitmap("vlm_glow.png")));
  g.AttachControl(std::make_unique<ITextControl>(IRECT{0, 0, 100, 20}, "text",
                                                 IText(12.f, {255, 255, 255, 255}, "Absent")));
  g.AttachControl(std::make_unique<IBitmapControl>(300.f, 300.f, g.LoadBitmap("broken.png")));
  g.DrawAll();
  g.Resize(1.f);
  g.DrawAll();
  const PixelView px = g.GetPixels();
  EXPECT_EQ(px.At(108, 108), 0x20C040u);
  EXPECT_EQ(px.At(5, 5), 0u);
  EXPECT_EQ(g.GetControl(0)->GetRECT().W(), 0.f);
  EXPECT_EQ(g.GetMouseControlIdx(1.f, 1.f), -1);
}

TEST_F(ResourceFixture, ReplacingTheTableForgetsDecodedImages)
{
  IGraphics& g = MakeUI();
  ASSERT_TRUE(g.LoadBitmap("wide.png").IsValid());
  TestResources other;
  other.Add("wide.png", SolidPNG(8, 4, 0xFFFFFF));
  g.SetResources(other.Table());
  EXPECT_EQ(g.LoadBitmap("wide.png").W(), 8);
  EXPECT_FALSE(g.LoadBitmap("vlm_glow.png").IsValid());
}
