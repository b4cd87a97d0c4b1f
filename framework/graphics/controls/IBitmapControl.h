#pragma once

#include "framework/graphics/controls/IBitmapBase.h"

namespace iplug::igraphics
{

// A bitmap at its own size with its top-left corner at (x, y). With several frames and a bound
// parameter it shows the frame nearest the value.
class IBitmapControl : public IControl, public IBitmapBase
{
public:
  IBitmapControl(float x, float y, const IBitmap& bitmap, int paramIdx = kNoParameter,
                 const IBlend& blend = {});

  void Draw(IGraphics& g) override;
  void OnRescale() override { RescaleBitmap(); }

protected:
  // The frame for the current value: 0 at 0, N-1 at 1, rounded to the nearest.
  int CurrentFrame() const;
};

} // namespace iplug::igraphics
