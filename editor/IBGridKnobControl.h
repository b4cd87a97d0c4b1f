#pragma once

#include "framework/graphics/controls/IBitmapBase.h"
#include "framework/graphics/controls/IKnobControlBase.h"

namespace iplug::igraphics
{

// A rotary knob drawn from a strip of pre-rendered positions laid out row by row in a grid of
// `columns` columns: frame k sits in column k mod columns and row k div columns, frame 0 being the
// parameter's minimum and the last frame its maximum. The strip is one image (one frame as the
// editor loads it); the control cuts its frames itself. Mouse handling is the knob base's.
class IBGridKnobControl : public IKnobControlBase, public IBitmapBase
{
public:
  IBGridKnobControl(float x, float y, const IBitmap& bitmap, int paramIdx, int frames, int columns,
                    EDirection direction = EDirection::Vertical, double gearing = kDefaultGearing);

  // The frame shown for a normalised value: rounded to the nearest, halves upwards.
  int FrameIndex(double value) const;
  // Top-left corner of a frame in the strip, in the strip's logical units.
  int FrameSourceX(int frame) const { return mFrameWidth * (frame % mColumns); }
  int FrameSourceY(int frame) const { return mFrameHeight * (frame / mColumns); }
  int FrameWidth() const { return mFrameWidth; }
  int FrameHeight() const { return mFrameHeight; }

  void Draw(IGraphics& g) override;
  void OnRescale() override { RescaleBitmap(); }

protected:
  // A value change redraws the knob only when it moves it to another frame.
  bool ShowsNewValue() override;

private:
  int mFrames;
  int mColumns;
  int mFrameWidth;
  int mFrameHeight;
  // The frame last drawn or marked for redraw; none before the first.
  int mShownFrame = -1;
};

} // namespace iplug::igraphics
