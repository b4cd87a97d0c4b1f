#pragma once

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
class IControl
{
public:
  explicit IControl(const IRECT& bounds, int paramIdx = kNoParameter);
  virtual ~IControl() = default;
  IControl(const IControl&) = delete;
  IControl& operator=(const IControl&) = delete;

  const IRECT& GetRECT() const { return mRECT; }
  int GetParamIdx() const { return mParamIdx; }
  int GetTag() const { return mTag; }

  // Called by IGraphics when it adopts the control.
  void OnAttached(IGraphics& ui, int tag);
  IGraphics* GetUI() const { return mUI; }
  IEditorDelegate* GetDelegate() const;

  double GetValue() const { return mValue; }
  // Normalised value, held to 0..1; NaN is ignored.
  void SetValue(double normalized);
  // The delegate's way in: new value for the bound parameter, redrawn without echoing it back.
  virtual void SetValueFromDelegate(double normalized);
  // A message from the plug-in addressed to this control's tag.
  virtual void OnMsgFromDelegate(int /*msgTag*/, int /*dataSize*/, const void* /*pData*/) {}

  // Marks the control for redraw. With triggerAction, a bound parameter takes the control's
  // value through the delegate, as after a user edit.
  void SetDirty(bool triggerAction = true);
  bool IsDirty() const { return mDirty.load(std::memory_order_acquire); }
  void ClearDirty() { mDirty.store(false, std::memory_order_release); }

  void SetDisabled(bool disabled) { mDisabled = disabled; }
  bool IsDisabled() const { return mDisabled; }
  void SetIgnoreMouse(bool ignore) { mIgnoreMouse = ignore; }
  bool GetIgnoreMouse() const { return mIgnoreMouse; }

private:
  IRECT mRECT;
  int mParamIdx;
  int mTag = kNoTag;
  IGraphics* mUI = nullptr;
  double mValue = 0.0;
  bool mDisabled = false;
  bool mIgnoreMouse = false;
  std::atomic<bool> mDirty{true};
};

} // namespace igraphics
} // namespace iplug
