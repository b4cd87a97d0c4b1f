#include "tests/graphics/GraphicsTestSupport.h"

#include "editor/IVLMLEDMeterControl.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

using namespace iplug::igraphics;
using namespace velmora::test;

namespace
{

struct Record
{
  int32_t tag;
  int32_t nChans;
  int32_t offset;
  float value;
};

IVLMLEDMeterControl::Positions RowOfLEDs()
{
  IVLMLEDMeterControl::Positions p{};
  for (int i = 0; i < IVLMLEDMeterControl::kNumLEDs; ++i)
    p[static_cast<size_t>(i)] = {10 + 20 * i, 30};
  return p;
}

struct MeterFixture : ::testing::Test
{
  MeterFixture()
  {
    resources.Add("vlm_glow.png", SolidPNG(16, 16, 0x006400));
    resources.Add("vlm_glow_red.png", SolidPNG(16, 16, 0x640000));
    Build();
  }
  void Build()
  {
    ui = std::make_unique<IGraphics>(plugin, 650, 400);
    ui->SetResources(resources.Table());
    meter = static_cast<IVLMLEDMeterControl*>(ui->AttachControl(
        std::make_unique<IVLMLEDMeterControl>(IRECT{0, 0, 400, 60}, ui->LoadBitmap("vlm_glow.png"),
                                              ui->LoadBitmap("vlm_glow_red.png"), RowOfLEDs()),
        1));
  }
  void Send(float level, int msgTag = 0, int nChans = 1, int size = sizeof(Record))
  {
    const Record r{1, nChans, 0, level};
    ui->SendMsgToControl(1, msgTag, size, &r);
  }
  // LEDs lit on the picture, and whether the red one is.
  std::pair<int, bool> Shown()
  {
    ui->Draw();
    const PixelView px = ui->GetPixels();
    int lit = 0;
    for (int i = 0; i < IVLMLEDMeterControl::kNumLEDs; ++i)
    {
      const uint32_t c = px.At(10 + 20 * i + 8, 38);
      if (Green(c) > 0)
      {
        EXPECT_EQ(Green(c), 80) << "glow at weight 0.8, LED " << i;
        EXPECT_EQ(lit, i) << "lit LEDs run from the first";
        ++lit;
      }
    }
    const bool red = Red(px.At(10 + 20 * 15 + 8, 38)) == 80;
    EXPECT_EQ(lit, meter->LitByLastDraw());
    return {lit, red};
  }

  GesturePlugin plugin;
  TestResources resources;
  std::unique_ptr<IGraphics> ui;
  IVLMLEDMeterControl* meter = nullptr;
};

} // namespace

TEST_F(MeterFixture, LevelLightsOneLEDPerSixteenthAndRedAtFullScale)
{
  struct Case
  {
    float level;
    int lit;
    bool red;
  };
  for (const Case c :
       {Case{0.05f, 0, false}, Case{0.0625f, 1, false}, Case{0.5f, 8, false},
        Case{0.999f, 15, false}, Case{1.f, 16, true}, Case{1.5f, 16, true}, Case{-0.2f, 0, false}})
  {
    Build();
    Send(c.level);
    EXPECT_EQ(Shown(), std::make_pair(c.lit, c.red)) << c.level;
  }
}

TEST_F(MeterFixture, PeakHoldsForThreeRedrawsWhileRedFollowsTheLevel)
{
  Send(1.f);
  EXPECT_EQ(Shown(), std::make_pair(16, true));
  Send(0.2f);
  EXPECT_EQ(Shown(), std::make_pair(16, false));
  Send(0.2f);
  EXPECT_EQ(Shown(), std::make_pair(16, false));
  Send(0.2f);
  EXPECT_EQ(Shown(), std::make_pair(3, false));
  Send(0.2f);
  EXPECT_EQ(Shown(), std::make_pair(3, false));
}

TEST_F(MeterFixture, MessagesThatCarryNoLevelChangeNothing)
{
  Send(0.5f);
  meter->ClearDirty();
  Send(0.9f, 1);
  Send(0.9f, 0, 0);
  Send(0.9f, 0, -3);
  meter->SetDisabled(true);
  Send(0.9f);
  EXPECT_FALSE(meter->IsDirty());
  EXPECT_EQ(meter->GetValue(), 0.5);
  meter->SetDisabled(false);
  Send(0.9f, 0, 1, 8);
  EXPECT_EQ(meter->GetValue(), 0.0);
  Send(0.9f, 0, 1, 0);
  EXPECT_EQ(meter->GetValue(), 0.0);
  Send(std::numeric_limits<float>::quiet_NaN());
  EXPECT_EQ(meter->GetValue(), 0.0);
  EXPECT_TRUE(meter->IsDirty());
}

TEST_F(MeterFixture, TakesNoMouseAndMissingImagesDrawNothing)
{
  EXPECT_EQ(ui->GetMouseControlIdx(20, 40), -1);
  ui = std::make_unique<IGraphics>(plugin, 650, 400);
  meter = static_cast<IVLMLEDMeterControl*>(ui->AttachControl(std::make_unique<IVLMLEDMeterControl>(
      IRECT{0, 0, 400, 60}, IBitmap{}, IBitmap{}, RowOfLEDs())));
  const Record full{1, 1, 0, 1.f};
  meter->OnMsgFromDelegate(0, sizeof(Record), &full);
  ui->Draw();
  EXPECT_EQ(ui->GetPixels().At(18, 38), 0u);
}

// New levels redraw the meter only when they change the LEDs it shows: the lit ones, the peak
// hold or the red one. Steady or silent levels leave it alone, and with nothing else to do a
// frame draws nothing.
TEST_F(MeterFixture, RedrawnOnlyWhenItsLEDsOrHoldChange)
{
  ui->Draw();
  struct Step
  {
    const char* what;
    float level;
    bool redrawn;
    int shown;
  };
  const Step steps[] = {
      {"silence", 0.f, false, 0},
      {"silence again", 0.f, false, 0},
      {"eight LEDs", 0.5f, true, 8},
      {"still eight", 0.52f, false, 8},
      {"nine", 0.57f, true, 9},
      {"drop, hold on", 0.1f, false, 9},
      {"hold on", 0.1f, false, 9},
      {"hold released", 0.1f, true, 1},
      {"steady", 0.1f, false, 1},
      {"full scale", 1.f, true, 16},
      {"red goes, hold stays", 0.9f, true, 16},
      {"silence, hold on", 0.f, false, 16},
      {"silence, hold released", 0.f, true, 0},
      {"silence again", 0.f, false, 0},
  };
  for (const Step& s : steps)
  {
    SCOPED_TRACE(s.what);
    Send(s.level);
    EXPECT_EQ(!ui->Draw().Empty(), s.redrawn);
    EXPECT_EQ(meter->LitByLastDraw(), s.shown);
  }
  // Silence with no hold leaves nothing for a frame to do, so a window may stop its frames.
  Send(0.f);
  EXPECT_FALSE(ui->NeedsFrame());
  Send(0.1f);
  EXPECT_TRUE(ui->NeedsFrame());
}
