#pragma once

#include "framework/graphics/ECursor.h"
#include "framework/graphics/IColor.h"
#include "framework/graphics/IControl.h"
#include "framework/graphics/IRECT.h"
#include "framework/graphics/IText.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace iplug::igraphics
{
class IGraphics;
}

// The triangle in the editor's lower-right corner that scales the whole editor. Dragging it
// rescales continuously through the graphics context's resize drag; on release the scale snaps
// to the nearest allowed one (Shift keeps it free), and a double-click returns to 1. While a drag
// would snap, a label next to the triangle shows where to. The triangle, the area that takes the
// mouse and the label keep one size on screen whatever the draw scale.
class IRasterScaleCornerDragControl : public iplug::igraphics::IControl
{
public:
  using IColor = iplug::igraphics::IColor;
  using IRECT = iplug::igraphics::IRECT;
  using IText = iplug::igraphics::IText;
  using IMouseMod = iplug::igraphics::IMouseMod;
  using IGraphics = iplug::igraphics::IGraphics;

  // Scales closer than this count as the same.
  static constexpr float kScaleTolerance = 0.0001f;

  IRasterScaleCornerDragControl(const IRECT& editorBounds, float cornerSize,
                                std::initializer_list<float> allowedScales, const IColor& idleColor,
                                const IColor& mouseOverColor, const IColor& draggingColor,
                                const IText& labelStyle);

  // Brings an editor to a scale the way a finished corner drag does, so that every control
  // rescales and redraws.
  static void RescaleEditor(IGraphics& ui, float scale);

  // The allowed scale nearest to `scale`; of two equally near, the smaller.
  float NearestAllowedScale(float scale) const;
  // The text the label shows now ("125%"), or empty while no label is shown.
  std::string LabelText() const;

  const IRECT& GetHitRECT() const { return mHitRECT; }
  const IRECT& GetTriangleRECT() const { return mTriangleRECT; }
  // Where the label box sits at the current scale.
  IRECT LabelRECT() const;

  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnMouseUp(float x, float y, const IMouseMod& mod) override;
  void OnMouseDblClick(float x, float y, const IMouseMod& mod) override;
  void OnMouseOver(float x, float y, const IMouseMod& mod) override;
  void OnMouseOut() override;
  void OnRescale() override { UpdateGeometry(); }
  void OnResize() override { UpdateGeometry(); }
  void OnAttached() override;
  void Draw(IGraphics& g) override;
  bool IsHit(float x, float y) const override;

private:
  void UpdateGeometry();
  float DrawScale() const;
  // 1 / draw scale: logical units per pixel on screen.
  float UnitsPerPixel() const;

  float mCornerSize;
  float mDragStartScale = 1.f;
  bool mMouseOver = false;
  iplug::igraphics::ECursor mPreviousCursor = iplug::igraphics::ECursor::ARROW;
  IRECT mHitRECT;
  IRECT mTriangleRECT;
  IText mLabelStyle;
  IColor mIdleColor;
  IColor mMouseOverColor;
  IColor mDraggingColor;
  std::vector<float> mAllowedScales;
};
