#pragma once

#include "framework/graphics/APIBitmap.h"

#include <memory>

namespace iplug::igraphics
{

// An image resource as controls hold it: a shared decoded copy at some scale, the resource it
// came from and how it divides into frames (stacked vertically, or side by side). Sizes are in
// logical units. A default-constructed bitmap is invalid: the resource was missing or did not
// decode, and controls draw nothing for it.
class IBitmap
{
public:
  IBitmap() = default;
  IBitmap(std::shared_ptr<const APIBitmap> bitmap, int resourceIdx, int nFrames,
          bool framesAreHorizontal)
      : mBitmap(std::move(bitmap)), mResourceIdx(resourceIdx), mNFrames(nFrames < 1 ? 1 : nFrames),
        mFramesAreHorizontal(framesAreHorizontal)
  {
  }

  bool IsValid() const { return mBitmap != nullptr; }
  const APIBitmap* GetAPIBitmap() const { return mBitmap.get(); }
  int GetResourceIdx() const { return mResourceIdx; }
  // Pixels per logical unit of the decoded copy; 0 when invalid.
  int GetScale() const { return mBitmap ? mBitmap->Scale() : 0; }

  int W() const { return mBitmap ? mBitmap->Width() / mBitmap->Scale() : 0; }
  int H() const { return mBitmap ? mBitmap->Height() / mBitmap->Scale() : 0; }
  int N() const { return mNFrames; }
  bool GetFramesAreHorizontal() const { return mFramesAreHorizontal; }
  int FW() const { return mFramesAreHorizontal ? W() / mNFrames : W(); }
  int FH() const { return mFramesAreHorizontal ? H() : H() / mNFrames; }

private:
  std::shared_ptr<const APIBitmap> mBitmap;
  int mResourceIdx = -1;
  int mNFrames = 1;
  bool mFramesAreHorizontal = false;
};

} // namespace iplug::igraphics
