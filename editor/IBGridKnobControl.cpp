#include "editor/IBGridKnobControl.h"

#include <algorithm>

namespace iplug::igraphics
{

namespace
{

int Rows(int frames, int columns)
{
  return (columns - 1 + frames) / columns;
}

IRECT FrameRect(float x, float y, const IBitmap& bitmap, int frames, int columns)
{
  const auto width = static_cast<float>(bitmap.W() / columns);
  const auto height = static_cast<float>(bitmap.H() / Rows(frames, columns));
  return {x, y, x + width, y + height};
}

} // namespace

IBGridKnobControl::IBGridKnobControl(float x, float y, const IBitmap& bitmap, int paramIdx,
                                     int frames, int columns, EDirection direction, double gearing)
    : IKnobControlBase(FrameRect(x, y, bitmap, std::max(frames, 1), std::max(columns, 1)), paramIdx,
                       direction, gearing),
      IBitmapBase(bitmap), mFrames(std::max(frames, 1)), mColumns(std::max(columns, 1)),
      mFrameWidth(bitmap.W() / mColumns), mFrameHeight(bitmap.H() / Rows(mFrames, mColumns))
{
  AttachIControl(this);
}

int IBGridKnobControl::FrameIndex(double value) const
{
  const int index = static_cast<int>((mFrames - 1) * value + 0.5);
  return std::clamp(index, 0, mFrames - 1);
}

bool IBGridKnobControl::ShowsNewValue()
{
  const int frame = FrameIndex(GetValue());
  if (frame == mShownFrame)
    return false;
  mShownFrame = frame;
  return true;
}

void IBGridKnobControl::Draw(IGraphics& g)
{
  const int frame = FrameIndex(GetValue());
  mShownFrame = frame;
  if (!mBitmap.IsValid())
    return;
  const IRECT& r = GetRECT();
  const float left = r.MW() - mFrameWidth / 2.f;
  const float top = r.MH() - mFrameHeight / 2.f;
  const IRECT dest{left, top, left + mFrameWidth, top + mFrameHeight};
  g.DrawBitmap(mBitmap, dest, FrameSourceX(frame), FrameSourceY(frame), &GetBlend());
}

} // namespace iplug::igraphics
