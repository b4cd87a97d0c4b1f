#pragma once

#include "framework/core/IParam.h"
#include "framework/graphics/IColor.h"
#include "framework/graphics/IControl.h"
#include "framework/graphics/IInteractionListener.h"
#include "framework/graphics/IText.h"

#include <array>
#include <functional>

namespace iplug::igraphics
{

// A small label over the editor that shows a parameter's name and its value as hosts display
// it ("Threshold  -12.3 dB") for the control the user works with: while a control bound to a
// parameter is held, dragged, wheeled or double-clicked, for a while after its last change, and
// once the mouse has rested over it. It sits just above that control (below it where there is no
// room), inside the editor's bounds, and steps aside while the mouse is on it or on another
// control it would cover. Attach it last, so that it draws over every other control; it takes no
// mouse input itself. It is redrawn only when its text or its place changes, and showing it
// allocates nothing.
class IValueReadoutControl : public IControl, private IInteractionListener
{
public:
  // Seconds on a steady clock.
  using Clock = std::function<double()>;

  struct Style
  {
    // The name is drawn letter-spaced, then the value.
    IText name;
    IText value;
    IColor fill;
    // A 1-unit outline just inside the box.
    IColor frame;
    float letterSpacing = 1.f;
    // Left and right of the text, and between the name and the value.
    float padding = 7.f;
    float gap = 8.f;
    float height = 20.f;
    float cornerRadius = 4.f;
    // From the control, and from the editor's edges.
    float distance = 4.f;
    float margin = 2.f;
  };

  // How long the label stays after the last change, and how long the mouse rests before it shows.
  static constexpr double kLingerSeconds = 1.0;
  static constexpr double kRestSeconds = 0.6;

  explicit IValueReadoutControl(const Style& style);
  ~IValueReadoutControl() override;

  // Replaces the steady clock (tests).
  void SetClock(Clock clock) { mClock = std::move(clock); }
  // "Name  value" as last laid out; empty before the first showing.
  const char* GetText() const { return mText.data(); }
  // The control the label is for while it shows; null otherwise.
  const IControl* ShownFor() const { return IsHidden() ? nullptr : mLaidOutFor; }

  void OnAttached() override;
  void OnRescale() override { mLaidOutScale = 0.f; }
  void OnFrameStart() override;
  // Its timings (linger, rest, hide) run on frames: while any is pending the editor keeps them.
  bool WantsFrameStart() const override { return mHeld || mEdited || mHovered || !IsHidden(); }
  void Draw(IGraphics& g) override;

  // Where a box of the given size goes for a control: centred above it, below it when it does
  // not fit above, then moved inside the bounds less the margin; edges on whole pixels at the
  // given scale (pixels per unit).
  static IRECT Place(const IRECT& control, float width, float height, const IRECT& bounds,
                     float distance, float margin, float scale);

private:
  // IInteractionListener
  void OnControlGrabbed(const IControl& control) override;
  void OnControlReleased(const IControl& control) override;
  void OnControlEdited(const IControl& control) override;
  void OnMouseMoved(const IControl* control, float x, float y) override;
  void OnMouseLeft() override;

  const IParam* ParamOf(const IControl* control) const;
  // The control the label should show now, before stepping aside for the mouse.
  const IControl* Wanted(double now);
  // Formats, measures and places the label for the control when its value, the control or the
  // scale changed since the last time.
  void LayOut(const IControl& control, const IParam& param);
  bool CoversMouse(const IControl& target) const;
  // The name's letters one at a time with the style's spacing, from x.
  void DrawName(IGraphics& g, float x, const IRECT& box);
  float NameWidth(IGraphics& g);

  Style mStyle;
  Clock mClock;

  const IControl* mHeld = nullptr;
  const IControl* mEdited = nullptr;
  double mEditedAt = 0.0;
  const IControl* mHovered = nullptr;
  double mHoveredSince = 0.0;
  bool mHoverShown = false;
  bool mMouseInside = false;
  float mMouseX = 0.f;
  float mMouseY = 0.f;

  const IControl* mLaidOutFor = nullptr;
  double mLaidOutValue = 0.0;
  float mLaidOutScale = 0.f;
  float mNameStart = 0.f;
  float mValueStart = 0.f;
  std::array<char, 64> mName{};
  std::array<char, IParam::kMaxDisplayLength> mValue{};
  std::array<char, 64 + 2 + IParam::kMaxDisplayLength> mText{};
};

} // namespace iplug::igraphics
