#include "framework/graphics/controls/ITextControl.h"

#include "framework/graphics/IGraphics.h"

namespace iplug::igraphics
{

ITextControl::ITextControl(const IRECT& bounds, std::string str, const IText& text,
                           const IColor& bgColor)
    : IControl(bounds), mStr(std::move(str)), mText(text), mBGColor(bgColor)
{
  SetIgnoreMouse(true);
}

void ITextControl::SetStr(std::string str)
{
  if (str == mStr)
    return;
  mStr = std::move(str);
  SetDirty(false);
}

void ITextControl::Draw(IGraphics& g)
{
  if (mBGColor.A > 0)
    g.FillRect(mBGColor, GetRECT(), &GetBlend());
  g.DrawText(mText, mStr.c_str(), GetRECT(), &GetBlend());
}

} // namespace iplug::igraphics
