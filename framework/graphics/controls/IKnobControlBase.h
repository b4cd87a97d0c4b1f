#pragma once

#include "framework/graphics/IControl.h"

namespace iplug::igraphics
{

enum class EDirection
{
  Vertical,
  Horizontal
};

// The mouse handling of a knob bound to a parameter. A drag moves the value: upwards (or to the
// right) raises it, and a movement of the control's height (or width) times the gearing runs
// through the whole range; Shift or Control makes it ten times finer. The cursor is hidden
// during a drag. A wheel step moves the value by 0.01, or 0.001 with Shift or Control; a
// double-click returns it to the parameter's default. The value stays within 0..1.
class IKnobControlBase : public IControl
{
public:
  static constexpr double kDefaultGearing = 4.0;
  static constexpr double kFineFactor = 10.0;
  static constexpr double kWheelStep = 0.01;
  static constexpr double kFineWheelStep = 0.001;

  IKnobControlBase(const IRECT& bounds, int paramIdx = kNoParameter,
                   EDirection direction = EDirection::Vertical, double gearing = kDefaultGearing);

  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnMouseUp(float x, float y, const IMouseMod& mod) override;
  void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) override;
  void OnMouseWheel(float x, float y, const IMouseMod& mod, float d) override;

  void SetHideCursorOnDrag(bool hide) { mHideCursorOnDrag = hide; }
  EDirection GetDirection() const { return mDirection; }
  double GetGearing() const { return mGearing; }

private:
  EDirection mDirection;
  double mGearing;
  bool mHideCursorOnDrag = true;
};

} // namespace iplug::igraphics
