#include "editor/EditorLayout.h"

#include "editor/IBGridKnobControl.h"
#include "editor/IRasterScaleCornerDragControl.h"
#include "editor/ITransferCurveControl.h"
#include "editor/IVLMLEDMeterControl.h"
#include "editor/LedPositions.h"
#include "framework/graphics/IGraphics.h"
#include "framework/graphics/controls/IBSwitchControl.h"
#include "framework/graphics/controls/IBitmapControl.h"
#include "framework/graphics/controls/ITextControl.h"
#include "framework/graphics/controls/IValueReadoutControl.h"
#include "plugin/VelmoraParams.h"

#include <array>
#include <memory>

namespace velmora
{

using namespace iplug::igraphics;

namespace
{

constexpr const char* kFontId = "Roboto-Regular";
constexpr int kKnobFrames = 271;
constexpr int kKnobColumns = 16;
constexpr double kKnobGearing = 4.0;
constexpr float kCornerSize = 20.f;

const IColor kAccentGreen{255, 149, 219, 94};
const IColor kBlack{255, 0, 0, 0};
const IColor kWhite{255, 255, 255, 255};
const IColor kTranslucentBlack{10, 0, 0, 0};
const IColor kTransparent{0, 0, 0, 0};

const IText kVersionStyle(13.f, kAccentGreen, kFontId, EAlign::Far, EVAlign::Middle, 0.f, kWhite,
                          kBlack);
const IText kCornerLabelStyle(12.f, kWhite, kFontId, EAlign::Center, EVAlign::Middle, 0.f, kWhite,
                              kBlack);

// The value readout: the name in the panel's label tone, the value in the accent green, on a
// dark translucent box with a faint edge.
const IValueReadoutControl::Style kReadoutStyle{
    .name = IText(9.5f, IColor{255, 225, 225, 220}, kFontId, EAlign::Near, EVAlign::Middle),
    .value = IText(11.f, kAccentGreen, kFontId, EAlign::Near, EVAlign::Middle),
    .fill = IColor{225, 14, 15, 16},
    .frame = IColor{60, 225, 225, 220},
    .distance = 6.f,
    .margin = 4.f,
};

struct KnobPlacement
{
  float x;
  float y;
  bool large;
  int paramIdx;
};

const std::array<KnobPlacement, 11> kKnobs{{{24, 152, true, kThreshold},
                                            {112, 145, false, kThresholdAsym},
                                            {26, 309, true, kKnee},
                                            {63, 249, false, kKneeAsym},
                                            {563, 152, true, kNonlinearity},
                                            {494, 146, false, kNonlinearityAsym},
                                            {539, 250, false, kModA},
                                            {571, 318, false, kModB},
                                            {154, 268, true, kGain},
                                            {370, 294, false, kMix},
                                            {443, 267, false, kOutput}}};

struct MeterPlacement
{
  IRECT bounds;
  IVLMLEDMeterControl::Positions leds;
};

// Tags 1 and 2: input left and right, outer and inner arc on the left; tags 3 and 4: output
// left and right, mirrored on the right. LEDs from the lowest to the highest.
const std::array<MeterPlacement, 4> kMeters{{
    {{28, 26, 178, 76}, kLedTables[0]},
    {{37, 43, 187, 93}, kLedTables[1]},
    {{470, 26, 620, 76}, kLedTables[2]},
    {{480, 43, 630, 93}, kLedTables[3]},
}};

} // namespace

void LayoutEditor(IGraphics& g, const CurveDisplayLinker& linkCurve)
{
  g.EnableMouseOver(true);
  g.LoadFont(kFontId, "Roboto-Regular.ttf");
  const IRECT bounds = g.GetBounds();

  const IBitmap background = g.LoadBitmap("vlm_bg_1_6b.png", 1, false, 0);
  const IBitmap largeKnob = g.LoadBitmap("x271_frame_stack_fixed_again.png", 1, false, 0);
  const IBitmap smallKnob = g.LoadBitmap("smallknob.png", 1, false, 0);
  const IBitmap glow = g.LoadBitmap("vlm_glow.png", 1, false, 0);
  const IBitmap redGlow = g.LoadBitmap("vlm_glow_red.png", 1, false, 0);
  const IBitmap oversamplingSwitch = g.LoadBitmap("OS_alpha.png", 2, false, 0);

  g.AttachControl(std::make_unique<IBitmapControl>(0.f, 0.f, background));

  for (const KnobPlacement& knob : kKnobs)
    g.AttachControl(std::make_unique<IBGridKnobControl>(
        knob.x, knob.y, knob.large ? largeKnob : smallKnob, knob.paramIdx, kKnobFrames,
        kKnobColumns, EDirection::Vertical, kKnobGearing));

  g.AttachControl(
      std::make_unique<IBSwitchControl>(480.f, 330.f, oversamplingSwitch, kOversampling));

  auto* curve =
      static_cast<ITransferCurveControl*>(g.AttachControl(std::make_unique<ITransferCurveControl>(
          IRECT{239, 58, 411, 230}, kAccentGreen, IBlend{EBlend::Add, 1.f})));
  if (linkCurve)
    linkCurve(curve);

  for (size_t i = 0; i < kMeters.size(); ++i)
    g.AttachControl(
        std::make_unique<IVLMLEDMeterControl>(kMeters[i].bounds, glow, redGlow, kMeters[i].leds),
        static_cast<int>(i) + 1);

  g.AttachControl(std::make_unique<ITextControl>(IRECT{562, 0, 650, 13}, kVersionLabel,
                                                 kVersionStyle, kTransparent));

  g.AttachControl(std::make_unique<IRasterScaleCornerDragControl>(
      bounds, kCornerSize, std::initializer_list<float>{1.f, 1.25f, 1.5f, 1.75f, 2.f},
      kTranslucentBlack, kBlack, kBlack, kCornerLabelStyle));

  // Last, so that it shows over every control; it takes no mouse input.
  g.AttachControl(std::make_unique<IValueReadoutControl>(kReadoutStyle));
}

} // namespace velmora
