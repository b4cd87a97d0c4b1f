#pragma once

#include "framework/graphics/IBlend.h"
#include "framework/graphics/IMouseMod.h"
#include "framework/graphics/IRECT.h"

#include <atomic>

namespace iplug
{
class IEditorDelegate;

inline constexpr int kNoParameter = -1;
inline constexpr int kNoTag = -1;

namespace igraphics
{
class IGraphics;

// An element of the editor: a rectangle, an optional bound parameter, an optional tag by which
// the plug-in addresses messages to it, a normalised value and a redraw mark. Controls live in
// one IGraphics, which owns them, and run on the main thread; only the redraw mark may be set
// from another thread (by controls that take data from the audio thread under their own lock).
// Mouse positions reach the handlers in logical units.
class IControl
{
public:
  explicit IControl(const IRECT& bounds, int paramIdx = kNoParameter);
  virtual ~IControl() = default;
  IControl(const IControl&) = delete;
  IControl& operator=(const IControl&) = delete;

  const IRECT& GetRECT() const { return mRECT; }
  // Moves or resizes the control; both its old and its new area are redrawn.
  void SetRECT(const IRECT& bounds);
  int GetParamIdx() const { return mParamIdx; }
  int GetTag() const { return mTag; }

  // Called by IGraphics when it adopts the control; OnAttached follows.
  void SetUI(IGraphics& ui, int tag);
  IGraphics* GetUI() const { return mUI; }
  IEditorDelegate* GetDelegate() const;

  double GetValue() const { return mValue; }
  // Normalised value, held to 0..1; NaN is ignored.
  void SetValue(double normalized);
  // The bound parameter's default, as a user edit.
  void SetValueToDefault();
  // The delegate's way in: new value for the bound parameter, redrawn without echoing it back.
  virtual void SetValueFromDelegate(double normalized);
  // A message from the plug-in addressed to this control's tag.
  virtual void OnMsgFromDelegate(int /*msgTag*/, int /*dataSize*/, const void* /*pData*/) {}

  // Marks the control for redraw, whatever it shows. With triggerAction, a bound parameter takes
  // the control's value through the delegate, as after a user edit.
  void SetDirty(bool triggerAction = true);
  // After the value changed: marks the control for redraw only when the new value changes what
  // it shows (ShowsNewValue); with triggerAction the bound parameter takes the value either way.
  void SetValueDirty(bool triggerAction = true);
  bool IsDirty() const { return mDirty.load(std::memory_order_acquire); }
  void ClearDirty() { mDirty.store(false, std::memory_order_release); }
  // Clears the mark and tells whether it was set.
  bool TakeDirty() { return mDirty.exchange(false, std::memory_order_acq_rel); }

  void SetDisabled(bool disabled) { mDisabled = disabled; }
  bool IsDisabled() const { return mDisabled; }
  void SetIgnoreMouse(bool ignore) { mIgnoreMouse = ignore; }
  bool GetIgnoreMouse() const { return mIgnoreMouse; }
  // A hidden control is neither drawn nor hit; hiding or showing redraws its area.
  void Hide(bool hide);
  bool IsHidden() const { return mHidden; }
  bool GetMouseIsOver() const { return mMouseIsOver; }
  // A control that steps on each click takes the second click of a double-click as a click.
  void SetDblAsSingleClick(bool single) { mDblAsSingleClick = single; }
  bool GetDblAsSingleClick() const { return mDblAsSingleClick; }

  const IBlend& GetBlend() const { return mBlend; }
  void SetBlend(const IBlend& blend) { mBlend = blend; }

  virtual void Draw(IGraphics& /*g*/) {}
  // Once per frame, before the editor collects the redraw marks: a control whose look advances
  // with the frames steps here and marks itself when what it shows changed.
  virtual void OnFrameStart() {}
  // Whether the next frame's step could change anything; while no control wants one and none is
  // marked, the editor's window may stop its frames.
  virtual bool WantsFrameStart() const { return false; }
  virtual bool IsHit(float x, float y) const { return mRECT.Contains(x, y); }

  virtual void OnMouseDown(float /*x*/, float /*y*/, const IMouseMod& /*mod*/) {}
  virtual void OnMouseUp(float /*x*/, float /*y*/, const IMouseMod& /*mod*/) {}
  virtual void OnMouseDrag(float /*x*/, float /*y*/, float /*dX*/, float /*dY*/,
                           const IMouseMod& /*mod*/)
  {
  }
  // Default: the bound parameter returns to its default.
  virtual void OnMouseDblClick(float x, float y, const IMouseMod& mod);
  virtual void OnMouseWheel(float /*x*/, float /*y*/, const IMouseMod& /*mod*/, float /*d*/) {}
  // Default: remember the mouse is over the control and redraw it.
  virtual void OnMouseOver(float x, float y, const IMouseMod& mod);
  virtual void OnMouseOut();

  // After attachment to an editor.
  virtual void OnAttached() {}
  // After the editor's draw scale or screen scale changed.
  virtual void OnRescale() {}
  // After the editor changed size.
  virtual void OnResize() {}

protected:
  // Whether the value as it now stands changes what the control shows, against what it last
  // drew or was marked for. Every value change does, unless a control shows its value coarsely.
  virtual bool ShowsNewValue() { return true; }

private:
  // A bound parameter takes the control's value through the delegate.
  void SendValueToParam();

  IRECT mRECT;
  int mParamIdx;
  int mTag = kNoTag;
  IGraphics* mUI = nullptr;
  double mValue = 0.0;
  IBlend mBlend;
  bool mDisabled = false;
  bool mIgnoreMouse = false;
  bool mHidden = false;
  bool mMouseIsOver = false;
  bool mDblAsSingleClick = false;
  std::atomic<bool> mDirty{true};
};

} // namespace igraphics
} // namespace iplug
