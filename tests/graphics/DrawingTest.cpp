#include "tests/graphics/GraphicsTestSupport.h"

#include <gtest/gtest.h>

#include <cairo.h>
#include <cstdio>
#include <filesystem>

using namespace iplug::igraphics;
using namespace velmora::test;

namespace
{

struct DrawingFixture : ::testing::Test
{
  IGraphics& MakeUI(float scale = 1.f)
  {
    ui = std::make_unique<IGraphics>(plugin, 650, 400, 60, scale);
    ui->SetResources(resources.Table());
    return *ui;
  }
  PaintControl& Attach(const IRECT& r, PaintControl::Paint paint)
  {
    return *static_cast<PaintControl*>(
        ui->AttachControl(std::make_unique<PaintControl>(r, std::move(paint))));
  }

  GesturePlugin plugin;
  TestResources resources;
  std::unique_ptr<IGraphics> ui;
};

} // namespace

TEST_F(DrawingFixture, BackingImageIsLogicalSizeTimesDrawAndScreenScale)
{
  struct Case
  {
    float drawScale;
    float screenScale;
    int width;
    int height;
  };
  for (const Case c :
       {Case{1.f, 1.f, 650, 400}, Case{1.5f, 1.f, 975, 600}, Case{2.f, 1.f, 1300, 800},
        Case{0.25f, 1.f, 325, 200}, Case{5.f, 1.f, 2600, 1600}, Case{1.5f, 2.f, 1950, 1200}})
  {
    IGraphics& g = MakeUI();
    g.SetScreenScale(c.screenScale);
    g.Resize(c.drawScale);
    g.DrawAll();
    const PixelView pixels = g.GetPixels();
    EXPECT_EQ(pixels.width, c.width) << c.drawScale << " x " << c.screenScale;
    EXPECT_EQ(pixels.height, c.height) << c.drawScale << " x " << c.screenScale;
    EXPECT_EQ(g.WindowWidth(), c.width);
    EXPECT_EQ(g.WindowHeight(), c.height);
    EXPECT_GE(g.GetDrawScale(), IGraphics::kMinDrawScale);
    EXPECT_LE(g.GetDrawScale(), IGraphics::kMaxDrawScale);
  }
}

TEST_F(DrawingFixture, NormalBlendCoversAndAdditiveBlendAddsWithItsWeight)
{
  IGraphics& g = MakeUI();
  const IBlend add{EBlend::Add, 1.f};
  const IBlend halfAdd{EBlend::Add, 0.5f};
  Attach({0, 0, 650, 400},
         [](IGraphics& gr, const IRECT& r) {
           gr.FillRect({255, 60, 60, 60}, r);
         });
  Attach({10, 10, 20, 20},
         [](IGraphics& gr, const IRECT& r) {
           gr.FillRect({255, 100, 0, 200}, r);
         });
  Attach({30, 10, 40, 20},
         [&](IGraphics& gr, const IRECT& r) {
           gr.FillRect({255, 100, 250, 10}, r, &add);
         });
  Attach({50, 10, 60, 20},
         [&](IGraphics& gr, const IRECT& r) {
           gr.FillRect({255, 100, 100, 100}, r, &halfAdd);
         });
  g.DrawAll();
  const PixelView px = g.GetPixels();
  EXPECT_EQ(px.At(15, 15), 0x6400C8u);
  EXPECT_EQ(px.At(35, 15), 0xA0FF46u); // 60 + 100, 60 + 250 held at 255, 60 + 10
  EXPECT_EQ(Red(px.At(55, 15)), 110);
  EXPECT_EQ(px.At(5, 5), 0x3C3C3Cu);
}

TEST_F(DrawingFixture, PrimitivesCoverTheirShapes)
{
  IGraphics& g = MakeUI();
  Attach({0, 0, 650, 400},
         [](IGraphics& gr, const IRECT&)
         {
           gr.DrawLine({255, 255, 0, 0}, 10.f, 50.5f, 110.f, 50.5f, nullptr, 1.f);
           gr.FillTriangle({255, 0, 255, 0}, 200.f, 300.f, 300.f, 200.f, 300.f, 300.f);
           gr.FillRoundRect({255, 0, 0, 255}, {400, 100, 500, 160}, 10.f);
           gr.DrawRoundRect({255, 255, 255, 255}, {400, 200, 500, 260}, 4.f, nullptr, 2.f);
         });
  g.DrawAll();
  const PixelView px = g.GetPixels();
  EXPECT_EQ(px.At(60, 50), 0xFF0000u);
  EXPECT_EQ(px.At(60, 49), 0u);
  EXPECT_EQ(px.At(60, 51), 0u);
  EXPECT_EQ(px.At(111, 50), 0u);
  EXPECT_EQ(px.At(290, 290), 0x00FF00u); // inside the lower-right half
  EXPECT_EQ(px.At(210, 210), 0u);        // the other half stays empty
  EXPECT_EQ(px.At(450, 130), 0x0000FFu);
  EXPECT_EQ(px.At(400, 100), 0u); // rounded corner
  EXPECT_EQ(px.At(450, 200), 0xFFFFFFu);
  EXPECT_EQ(px.At(450, 230), 0u); // outline only
}

TEST_F(DrawingFixture, OnlyTheUnionOfDirtyControlsIsRedrawnInAttachmentOrder)
{
  IGraphics& g = MakeUI(2.f);
  IColor left{255, 200, 0, 0};
  auto& background = Attach({0, 0, 650, 400},
                            [](IGraphics& gr, const IRECT& r) {
                              gr.FillRect({255, 20, 20, 20}, r);
                            });
  auto& a = Attach({10, 10, 50, 50}, [&](IGraphics& gr, const IRECT& r) { gr.FillRect(left, r); });
  auto& b = Attach({100, 10, 140, 50},
                   [](IGraphics& gr, const IRECT& r) {
                     gr.FillRect({255, 0, 200, 0}, r);
                   });
  auto& over = Attach({40, 40, 60, 60},
                      [](IGraphics& gr, const IRECT& r) {
                        gr.FillRect({255, 0, 0, 200}, r);
                      });
  EXPECT_EQ(g.Draw(), (PixelRect{0, 0, 1300, 800}));
  EXPECT_EQ(g.Draw(), PixelRect{});

  left = {255, 0, 200, 200};
  a.SetDirty(false);
  EXPECT_EQ(g.Draw(), (PixelRect{20, 20, 80, 80}));
  const PixelView px = g.GetPixels();
  EXPECT_EQ(px.At(30, 30), 0x00C8C8u);
  EXPECT_EQ(px.At(90, 90), 0x0000C8u); // the control on top is drawn over it again
  EXPECT_EQ(px.At(110, 110), 0x0000C8u);
  EXPECT_EQ(background.draws, 2);
  EXPECT_EQ(over.draws, 2);
  EXPECT_EQ(b.draws, 1);

  over.Hide(true);
  g.Draw();
  EXPECT_EQ(g.GetPixels().At(110, 110), 0x141414u);
  EXPECT_EQ(over.draws, 2);

  b.SetRECT({300, 300, 340, 340});
  EXPECT_EQ(g.Draw(), (PixelRect{200, 20, 480, 660}));
  EXPECT_EQ(g.GetPixels().At(220, 40), 0x141414u);
  EXPECT_EQ(g.GetPixels().At(620, 620), 0x00C800u);
}

TEST_F(DrawingFixture, TextUsesTheRegisteredFontAndItsAlignment)
{
  resources.Add("Roboto-Regular.ttf", RobotoBytes());
  IGraphics& g = MakeUI();
  ASSERT_TRUE(g.LoadFont("Roboto-Regular", "roboto-regular.TTF"));
  const IRECT box{400, 100, 600, 130};
  const IText right(20.f, {255, 255, 255, 255}, "Roboto-Regular", EAlign::Far, EVAlign::Middle);
  const IText missing(20.f, {255, 255, 255, 255}, "Nope");
  bool drewMissing = true;
  Attach(box,
         [&](IGraphics& gr, const IRECT& r)
         {
           gr.DrawText(right, "4.1.2", r);
           drewMissing = gr.DrawText(missing, "4.1.2", {0, 0, 200, 30});
         });
  g.DrawAll();
  EXPECT_FALSE(drewMissing);
  const PixelView px = g.GetPixels();
  int minX = 650, maxX = -1, minY = 400, maxY = -1;
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 650; ++x)
      if (px.At(x, y) != 0u)
      {
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
      }
  // Right-aligned against the box's right edge, centred vertically, nothing else drawn.
  EXPECT_GE(minX, 400);
  EXPECT_GT(minX, 500);
  EXPECT_LE(maxX, 599);
  EXPECT_GE(maxX, 595);
  EXPECT_GE(minY, 100);
  EXPECT_LE(maxY, 129);
  EXPECT_NEAR((minY + maxY) / 2.0, 115.0, 2.0);
}

TEST_F(DrawingFixture, TheBackingImageIsWrittenAsPNG)
{
  IGraphics& g = MakeUI(1.5f);
  Attach({0, 0, 10, 10}, [](IGraphics& gr, const IRECT& r) { gr.FillRect({255, 9, 8, 7}, r); });
  g.DrawAll();
  const auto path = std::filesystem::temp_directory_path() / "velmora-graphics-test.png";
  ASSERT_TRUE(g.WritePNG(path.c_str()));
  cairo_surface_t* png = cairo_image_surface_create_from_png(path.c_str());
  EXPECT_EQ(cairo_image_surface_get_width(png), 975);
  EXPECT_EQ(cairo_image_surface_get_height(png), 600);
  cairo_surface_destroy(png);
  std::filesystem::remove(path);
  EXPECT_FALSE(g.WritePNG("/nonexistent-folder/x.png"));
}
