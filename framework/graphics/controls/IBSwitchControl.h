#pragma once

#include "framework/graphics/controls/IBitmapControl.h"

namespace iplug::igraphics
{

// A multi-state switch drawn from a bitmap with one frame per state: each click steps to the
// next state, and past the last back to the first; the second click of a double-click is one
// more click.
class IBSwitchControl : public IBitmapControl
{
public:
  IBSwitchControl(float x, float y, const IBitmap& bitmap, int paramIdx = kNoParameter);

  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
};

} // namespace iplug::igraphics
