#pragma once

#include "framework/graphics/IBitmap.h"
#include "framework/graphics/IControl.h"

#include <array>

namespace iplug::igraphics
{

// A level meter of sixteen LEDs along an arc painted in the background: it lights the LEDs the
// current level reaches (LED k from k/16 of full scale, on a linear scale), holds the highest
// for three frames that bring new levels, and lights a red LED over the sixteenth at full scale.
// Its level arrives as meter records addressed to its tag; it is redrawn only when the LEDs it
// shows change. It takes no mouse input.
class IVLMLEDMeterControl final : public IControl
{
public:
  static constexpr int kNumLEDs = 16;
  static constexpr int kHoldRedraws = 3;
  // Top-left corners of the LEDs in editor units, lowest first.
  using Positions = std::array<std::array<int, 2>, kNumLEDs>;

  IVLMLEDMeterControl(const IRECT& bounds, const IBitmap& glow, const IBitmap& fullScale,
                      const Positions& positions);

  // Message tag 0 carries one meter record (tag, channel count, channel offset, level); other
  // message tags, records with no channels and a disabled meter change nothing, and data
  // shorter than a record reads as level 0.
  void OnMsgFromDelegate(int msgTag, int dataSize, const void* pData) override;
  // Steps the peak hold once per frame in which new levels arrived.
  void OnFrameStart() override;
  // Levels that light nothing, with no hold, leave nothing to step.
  bool WantsFrameStart() const override;
  void Draw(IGraphics& g) override;
  void OnRescale() override;

  // LEDs lit by the last redraw, the peak hold included.
  int LitByLastDraw() const { return mLastLit; }
  int HoldIndex() const { return mHoldIndex; }

private:
  // What the meter shows: the LEDs lit (the hold included) and the red one.
  struct Look
  {
    int lit = 0;
    bool fullScale = false;
    bool operator==(const Look&) const = default;
  };

  // LEDs the current level reaches, without the hold.
  int LitByLevel() const;
  Look CurrentLook() const;
  void MarkIfLookChanged();
  void DrawLED(IGraphics& g, const IBitmap& bitmap, int led) const;

  IBitmap mGlow;
  IBitmap mFullScale;
  Positions mPositions;
  int mHoldIndex = 0;
  int mHoldCountdown = 0;
  int mLastLit = 0;
  bool mLevelArrived = false;
  // The look last drawn or marked for redraw.
  Look mShown;
  IBlend mLEDBlend{EBlend::Add, 0.8f};
};

} // namespace iplug::igraphics
