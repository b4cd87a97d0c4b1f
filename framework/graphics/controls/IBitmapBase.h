#pragma once

#include "framework/graphics/IBitmap.h"
#include "framework/graphics/IControl.h"
#include "framework/graphics/IGraphics.h"

namespace iplug::igraphics
{

// The bitmap half of a bitmap control: holds the image and swaps it for the editor's copy at the
// current scale when the editor rescales. It refers back to the control it belongs to.
class IBitmapBase
{
public:
  explicit IBitmapBase(const IBitmap& bitmap) : mBitmap(bitmap) {}
  virtual ~IBitmapBase() = default;
  IBitmapBase(const IBitmapBase&) = delete;
  IBitmapBase& operator=(const IBitmapBase&) = delete;

  void AttachIControl(IControl* control) { mControl = control; }
  const IBitmap& GetBitmap() const { return mBitmap; }

  // For the control's OnRescale.
  void RescaleBitmap()
  {
    if (mControl && mControl->GetUI())
      mBitmap = mControl->GetUI()->GetScaledBitmap(mBitmap);
  }

protected:
  IBitmap mBitmap;
  IControl* mControl = nullptr;
};

} // namespace iplug::igraphics
