#pragma once

#include "framework/graphics/IControl.h"

#include <memory>
#include <vector>

namespace iplug
{
class IEditorDelegate;

namespace igraphics
{

// The editor's drawing context: its logical size, frame rate and drawing scale, and the
// controls it owns. It lives on the main thread from the editor's opening to its closing.
class IGraphics
{
public:
  IGraphics(IEditorDelegate& delegate, int width, int height, int fps = 60, float scale = 1.f);
  virtual ~IGraphics();
  IGraphics(const IGraphics&) = delete;
  IGraphics& operator=(const IGraphics&) = delete;

  IEditorDelegate& GetDelegate() const { return mDelegate; }
  int Width() const { return mWidth; }
  int Height() const { return mHeight; }
  int FPS() const { return mFPS; }
  float GetDrawScale() const { return mDrawScale; }

  // Takes ownership of the control and gives it its tag; returns it for further set-up.
  // Tags identify one control each: a tag already in use is not given out again (the control
  // is attached without a tag).
  IControl* AttachControl(std::unique_ptr<IControl> control, int ctrlTag = kNoTag);
  int NControls() const { return static_cast<int>(mControls.size()); }
  IControl* GetControl(int idx) const;
  IControl* GetControlWithTag(int ctrlTag) const;
  void RemoveAllControls();

  // Hands a message to the control bearing ctrlTag; false when there is none.
  bool SendMsgToControl(int ctrlTag, int msgTag, int dataSize, const void* pData) const;
  // Shows a parameter's new normalised value on every control bound to it.
  void UpdateControlsOfParam(int paramIdx, double normalized) const;

  // Whether any control is marked for redraw.
  bool IsDirty() const;

private:
  IEditorDelegate& mDelegate;
  int mWidth;
  int mHeight;
  int mFPS;
  float mDrawScale;
  std::vector<std::unique_ptr<IControl>> mControls;
};

} // namespace igraphics
} // namespace iplug
