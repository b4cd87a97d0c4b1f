#pragma once

#include "framework/core/IPlugBase.h"
#include "framework/graphics/IGraphics.h"

#include <cairo.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace velmora::test
{

using Bytes = std::vector<unsigned char>;

// PNG bytes of a w x h image painted by `paint` (with or without an alpha channel).
Bytes MakePNG(int w, int h, bool alpha, const std::function<void(cairo_t*)>& paint);
Bytes SolidPNG(int w, int h, uint32_t rgb, bool alpha = false);
// A knob strip: frames of (w / columns) x (h / rows) in a grid, frame k filled with FrameColour(k).
Bytes FrameStripPNG(int w, int h, int columns, int rows, int frames);
uint32_t FrameColour(int frame);
Bytes ReadFileBytes(const char* path);
Bytes RobotoBytes();

// Named files and the resource table over them; entries stay valid while the object lives.
class TestResources
{
public:
  void Add(std::string name, Bytes bytes);
  std::span<const iplug::igraphics::ResourceEntry> Table() const { return mTable; }

private:
  std::deque<std::pair<std::string, Bytes>> mFiles;
  std::vector<iplug::igraphics::ResourceEntry> mTable;
};

// A plug-in on the framework base with a knob parameter (0: 0..100, default 25) and a switch
// (1: off by default), recording the gestures, changes and host menu requests that reach it.
class GesturePlugin final : public iplug::IPlugBase
{
public:
  GesturePlugin();

  void BeginInformHostOfParamChangeFromUI(int paramIdx) override;
  void EndInformHostOfParamChangeFromUI(int paramIdx) override;
  void OnParamChange(int paramIdx) override;
  // Recorded as "menu <param> <x> <y>"; answers that a menu showed.
  bool PopupHostContextMenuForParam(int paramIdx, int x, int y) override;

  double Normalized(int paramIdx) const { return GetParam(paramIdx)->GetNormalized(); }
  int Count(const std::string& prefix) const;

  std::vector<std::string> events;
};

// A control that runs a drawing function and counts its redraws.
class PaintControl final : public iplug::igraphics::IControl
{
public:
  using Paint = std::function<void(iplug::igraphics::IGraphics&, const iplug::igraphics::IRECT&)>;
  PaintControl(const iplug::igraphics::IRECT& bounds, Paint paint)
      : IControl(bounds), mPaint(std::move(paint))
  {
  }
  void Draw(iplug::igraphics::IGraphics& g) override
  {
    ++draws;
    mPaint(g, GetRECT());
  }
  int draws = 0;

private:
  Paint mPaint;
};

// Colour channels of a backing-image pixel.
inline int Red(uint32_t px)
{
  return static_cast<int>((px >> 16) & 0xFF);
}
inline int Green(uint32_t px)
{
  return static_cast<int>((px >> 8) & 0xFF);
}
inline int Blue(uint32_t px)
{
  return static_cast<int>(px & 0xFF);
}

} // namespace velmora::test
