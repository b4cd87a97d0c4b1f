#include "tests/graphics/FullEditor.h"

#include "editor/LedPositions.h"

#include "framework/graphics/controls/IBSwitchControl.h"
#include "framework/graphics/controls/IBitmapControl.h"
#include "framework/graphics/controls/ITextControl.h"
#include "framework/graphics/controls/IValueReadoutControl.h"

#include <cstdint>
#include <vector>

namespace velmora::test
{

using namespace iplug::igraphics;

namespace
{

using Positions = IVLMLEDMeterControl::Positions;

const std::array<Positions, 4>& kLEDs = kLedTables;

const std::array<IRECT, 4> kMeterRects{
    {{28, 26, 178, 76}, {37, 43, 187, 93}, {470, 26, 620, 76}, {480, 43, 630, 93}}};

struct KnobPlace
{
  float x;
  float y;
  bool large;
};

const std::array<KnobPlace, 11> kKnobs{{{24, 152, true},
                                        {112, 145, false},
                                        {26, 309, true},
                                        {63, 249, false},
                                        {563, 152, true},
                                        {494, 146, false},
                                        {539, 250, false},
                                        {571, 318, false},
                                        {154, 268, true},
                                        {370, 294, false},
                                        {443, 267, false}}};

} // namespace

FullEditor::FullEditor(float scale)
{
  mResources.Add("vlm_bg_1_6b.png", SolidPNG(650, 400, 0x1E2023));
  mResources.Add("x271_frame_stack_fixed_again.png", FrameStripPNG(1024, 1088, 16, 17, 271));
  mResources.Add("smallknob.png", FrameStripPNG(752, 799, 16, 17, 271));
  mResources.Add("vlm_glow.png", SolidPNG(16, 16, 0x00A040));
  mResources.Add("vlm_glow_red.png", SolidPNG(16, 16, 0xC02020));
  mResources.Add("OS_alpha.png", SolidPNG(29, 58, 0x95DB5E, true));
  mResources.Add("Roboto-Regular.ttf", RobotoBytes());

  mUI = std::make_unique<IGraphics>(mPlugin, 650, 400, 60, scale);
  IGraphics& g = *mUI;
  g.SetResources(mResources.Table());
  g.EnableMouseOver(true);
  g.LoadFont("Roboto-Regular", "Roboto-Regular.ttf");
  const IBitmap bg = g.LoadBitmap("vlm_bg_1_6b.png");
  const IBitmap large = g.LoadBitmap("x271_frame_stack_fixed_again.png");
  const IBitmap small = g.LoadBitmap("smallknob.png");
  const IBitmap glow = g.LoadBitmap("vlm_glow.png");
  const IBitmap red = g.LoadBitmap("vlm_glow_red.png");
  const IBitmap os = g.LoadBitmap("OS_alpha.png", 2);

  g.AttachControl(std::make_unique<IBitmapControl>(0.f, 0.f, bg));
  for (size_t i = 0; i < kKnobs.size(); ++i)
  {
    const KnobPlace& k = kKnobs[i];
    mKnobs[i] = static_cast<IBGridKnobControl*>(g.AttachControl(std::make_unique<IBGridKnobControl>(
        k.x, k.y, k.large ? large : small, 0, 271, 16, EDirection::Vertical, 4.0)));
  }
  g.AttachControl(std::make_unique<IBSwitchControl>(480.f, 330.f, os, 1));
  mCurve =
      static_cast<ITransferCurveControl*>(g.AttachControl(std::make_unique<ITransferCurveControl>(
          IRECT{239, 58, 411, 230}, IColor{255, 149, 219, 94}, IBlend{EBlend::Add, 1.f})));
  mCurve->ReservePoints(kCurvePoints);
  std::vector<double> points(kCurvePoints);
  for (int i = 0; i < kCurvePoints; ++i)
    points[static_cast<size_t>(i)] = std::max(i / 172.0, 0.0015);
  mCurve->SetPoints(points);
  for (size_t i = 0; i < mMeters.size(); ++i)
    mMeters[i] = static_cast<IVLMLEDMeterControl*>(
        g.AttachControl(std::make_unique<IVLMLEDMeterControl>(kMeterRects[i], glow, red, kLEDs[i]),
                        static_cast<int>(i) + 1));
  g.AttachControl(std::make_unique<ITextControl>(
      IRECT{562, 0, 650, 13}, "4.1.2",
      IText(13.f, {255, 149, 219, 94}, "Roboto-Regular", EAlign::Far, EVAlign::Middle)));
  mReadout = static_cast<IValueReadoutControl*>(
      g.AttachControl(std::make_unique<IValueReadoutControl>(IValueReadoutControl::Style{
          .name = IText(9.5f, {255, 225, 225, 220}, "Roboto-Regular"),
          .value = IText(11.f, {255, 149, 219, 94}, "Roboto-Regular"),
          .fill = {225, 14, 15, 16},
          .frame = {60, 225, 225, 220},
      })));
}

void FullEditor::SendLevel(int index, float level)
{
  struct
  {
    int32_t tag;
    int32_t nChans;
    int32_t offset;
    float value;
  } record{index + 1, 1, 0, level};
  mUI->SendMsgToControl(index + 1, 0, sizeof(record), &record);
}

} // namespace velmora::test
