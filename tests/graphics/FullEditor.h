#pragma once

#include "tests/graphics/GraphicsTestSupport.h"

#include "editor/IBGridKnobControl.h"
#include "editor/ITransferCurveControl.h"
#include "editor/IVLMLEDMeterControl.h"
#include "framework/graphics/controls/IValueReadoutControl.h"

#include <array>

namespace velmora::test
{

// An editor's worth of controls on images of the editor's sizes: background, eleven grid knobs
// (four large, seven small), the switch, the curve with 172 points, four meters, the version
// text and the value readout, placed as the editor places them. The images are flat test art.
class FullEditor
{
public:
  static constexpr int kCurvePoints = 172;

  explicit FullEditor(float scale);

  iplug::igraphics::IGraphics& UI() { return *mUI; }
  GesturePlugin& Plugin() { return mPlugin; }
  iplug::igraphics::ITransferCurveControl& Curve() { return *mCurve; }
  iplug::igraphics::IVLMLEDMeterControl& Meter(int index) { return *mMeters.at(index); }
  iplug::igraphics::IBGridKnobControl& Knob(int index) { return *mKnobs.at(index); }
  iplug::igraphics::IValueReadoutControl& Readout() { return *mReadout; }
  // Sends a meter record with this level to the meter with tag index + 1.
  void SendLevel(int index, float level);

private:
  GesturePlugin mPlugin;
  TestResources mResources;
  std::unique_ptr<iplug::igraphics::IGraphics> mUI;
  iplug::igraphics::ITransferCurveControl* mCurve = nullptr;
  std::array<iplug::igraphics::IVLMLEDMeterControl*, 4> mMeters{};
  std::array<iplug::igraphics::IBGridKnobControl*, 11> mKnobs{};
  iplug::igraphics::IValueReadoutControl* mReadout = nullptr;
};

} // namespace velmora::test
