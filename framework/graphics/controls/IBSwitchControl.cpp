#include "framework/graphics/controls/IBSwitchControl.h"

namespace iplug::igraphics
{

IBSwitchControl::IBSwitchControl(float x, float y, const IBitmap& bitmap, int paramIdx)
    : IBitmapControl(x, y, bitmap, paramIdx)
{
  SetDblAsSingleClick(true);
}

void IBSwitchControl::OnMouseDown(float, float, const IMouseMod&)
{
  const int states = mBitmap.N();
  const int next = states > 1 ? (CurrentFrame() + 1) % states : 0;
  SetValue(states > 1 ? static_cast<double>(next) / (states - 1) : 0.0);
  SetDirty(true);
}

} // namespace iplug::igraphics
