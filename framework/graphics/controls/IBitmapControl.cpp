#include "framework/graphics/controls/IBitmapControl.h"

#include <cmath>

namespace iplug::igraphics
{

IBitmapControl::IBitmapControl(float x, float y, const IBitmap& bitmap, int paramIdx,
                               const IBlend& blend)
    : IControl({x, y, x + static_cast<float>(bitmap.FW()), y + static_cast<float>(bitmap.FH())},
               paramIdx),
      IBitmapBase(bitmap)
{
  AttachIControl(this);
  SetBlend(blend);
}

int IBitmapControl::CurrentFrame() const
{
  return static_cast<int>(std::lround(GetValue() * (mBitmap.N() - 1)));
}

void IBitmapControl::Draw(IGraphics& g)
{
  g.DrawBitmapFrame(mBitmap, GetRECT(), CurrentFrame(), &GetBlend());
}

} // namespace iplug::igraphics
