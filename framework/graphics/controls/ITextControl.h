#pragma once

#include "framework/graphics/IControl.h"
#include "framework/graphics/IText.h"

#include <string>

namespace iplug::igraphics
{

// A line of text in a style over an optional background colour. It ignores the mouse, so
// clicks reach what lies below it.
class ITextControl : public IControl
{
public:
  ITextControl(const IRECT& bounds, std::string str, const IText& text,
               const IColor& bgColor = {0, 0, 0, 0});

  void Draw(IGraphics& g) override;
  void SetStr(std::string str);
  const std::string& GetStr() const { return mStr; }
  const IText& GetText() const { return mText; }

private:
  std::string mStr;
  IText mText;
  IColor mBGColor;
};

} // namespace iplug::igraphics
