#include "tests/graphics/GraphicsTestSupport.h"

#include "framework/graphics/controls/IBSwitchControl.h"
#include "framework/graphics/controls/IBitmapControl.h"
#include "framework/graphics/controls/ITextControl.h"

#include <cairo.h>
#include <gtest/gtest.h>

using namespace iplug::igraphics;
using namespace velmora::test;

namespace
{

struct StockFixture : ::testing::Test
{
  StockFixture()
  {
    resources.Add("bg.png", SolidPNG(650, 400, 0x303234));
    resources.Add("switch.png", MakePNG(29, 58, true,
                                        [](cairo_t* cr)
                                        {
                                          cairo_set_source_rgb(cr, 1, 0, 0);
                                          cairo_rectangle(cr, 0, 0, 29, 29);
                                          cairo_fill(cr);
                                          cairo_set_source_rgb(cr, 0, 1, 0);
                                          cairo_rectangle(cr, 0, 29, 29, 29);
                                          cairo_fill(cr);
                                        }));
    resources.Add("Roboto-Regular.ttf", RobotoBytes());
    ui = std::make_unique<IGraphics>(plugin, 650, 400);
    ui->SetResources(resources.Table());
  }

  GesturePlugin plugin;
  TestResources resources;
  std::unique_ptr<IGraphics> ui;
};

} // namespace

TEST_F(StockFixture, BitmapControlTakesItsBitmapsSizeAndDrawsIt)
{
  auto* bg =
      ui->AttachControl(std::make_unique<IBitmapControl>(0.f, 0.f, ui->LoadBitmap("bg.png")));
  EXPECT_EQ(bg->GetRECT(), (IRECT{0, 0, 650, 400}));
  ui->DrawAll();
  EXPECT_EQ(ui->GetPixels().At(649, 399), 0x303234u);
  // The background takes clicks although it does nothing with them.
  EXPECT_EQ(ui->GetMouseControlIdx(300, 150), 0);
}

TEST_F(StockFixture, SwitchClickStepsThroughItsStatesAsOneGestureEach)
{
  ui->AttachControl(
      std::make_unique<IBSwitchControl>(480.f, 330.f, ui->LoadBitmap("switch.png", 2), 1));
  IControl* sw = ui->GetControl(0);
  EXPECT_EQ(sw->GetRECT(), (IRECT{480, 330, 509, 359}));
  ui->DrawAll();
  EXPECT_EQ(ui->GetPixels().At(490, 340), 0xFF0000u);
  for (const bool expectOn : {true, false, true})
  {
    plugin.events.clear();
    ui->OnMouseDown(490, 340, {true});
    ui->OnMouseUp(490, 340, {true});
    EXPECT_EQ(plugin.GetParam(1)->Bool(), expectOn);
    EXPECT_EQ(plugin.events, (std::vector<std::string>{"begin 1", "change 1", "end 1"}));
  }
  ui->Draw();
  EXPECT_EQ(ui->GetPixels().At(490, 340), 0x00FF00u);

  // A double-click is two clicks: the second press arrives as the double-click.
  plugin.events.clear();
  ui->OnMouseDown(490, 340, {true});
  ui->OnMouseUp(490, 340, {true});
  ui->OnMouseDblClick(490, 340, {true});
  ui->OnMouseUp(490, 340, {true});
  EXPECT_TRUE(plugin.GetParam(1)->Bool());
  EXPECT_EQ(plugin.events, (std::vector<std::string>{"begin 1", "change 1", "end 1", "begin 1",
                                                     "change 1", "end 1"}));
}

TEST_F(StockFixture, ValuesFromThePluginShowWithoutBeingSentBack)
{
  ui->AttachControl(
      std::make_unique<IBSwitchControl>(0.f, 0.f, ui->LoadBitmap("switch.png", 2), 1));
  ui->DrawAll();
  ui->UpdateControlsOfParam(1, 1.0);
  EXPECT_TRUE(ui->IsDirty());
  EXPECT_EQ(ui->Draw(), (PixelRect{0, 0, 29, 29}));
  EXPECT_EQ(ui->GetPixels().At(10, 10), 0x00FF00u);
  EXPECT_TRUE(plugin.events.empty());
  EXPECT_FALSE(plugin.GetParam(1)->Bool());
}

TEST_F(StockFixture, TextControlDrawsItsBackgroundAndTextAndIgnoresTheMouse)
{
  ASSERT_TRUE(ui->LoadFont("Roboto-Regular", "Roboto-Regular.ttf"));
  auto* text = static_cast<ITextControl*>(ui->AttachControl(std::make_unique<ITextControl>(
      IRECT{10, 10, 110, 40}, "Hi", IText(20.f, {255, 255, 255, 255}, "Roboto-Regular"),
      IColor{255, 0, 0, 90})));
  EXPECT_TRUE(text->GetIgnoreMouse());
  EXPECT_EQ(ui->GetMouseControlIdx(50, 20), -1);
  ui->DrawAll();
  const PixelView px = ui->GetPixels();
  EXPECT_EQ(px.At(11, 11), 0x00005Au);
  int bright = 0;
  for (int x = 10; x < 110; ++x)
    bright += Red(px.At(x, 25)) > 128 ? 1 : 0;
  EXPECT_GT(bright, 2);
  text->ClearDirty();
  text->SetStr("Hi");
  EXPECT_FALSE(text->IsDirty());
  text->SetStr("Ho");
  EXPECT_TRUE(text->IsDirty());
}
