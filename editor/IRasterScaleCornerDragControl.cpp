#include "editor/IRasterScaleCornerDragControl.h"

#include "framework/graphics/IGraphics.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

using iplug::igraphics::ECursor;

namespace
{

constexpr float kMinScaleForGeometry = 0.0001f;
// Room above and left of the corner square for the label.
constexpr float kLabelRoom = 72.f;
constexpr float kLabelWidth = 58.f;
constexpr float kLabelHeight = 20.f;
constexpr float kLabelGap = 8.f;
constexpr float kLabelRadius = 4.f;
constexpr float kLabelTextSize = 12.f;
const iplug::igraphics::IColor kLabelFill{220, 24, 24, 24};
const iplug::igraphics::IColor kLabelOutline{220, 255, 255, 255};

} // namespace

IRasterScaleCornerDragControl::IRasterScaleCornerDragControl(
    const IRECT& editorBounds, float cornerSize, std::initializer_list<float> allowedScales,
    const IColor& idleColor, const IColor& mouseOverColor, const IColor& draggingColor,
    const IText& labelStyle)
    : IControl({editorBounds.R - 2.f * cornerSize + 1.f, editorBounds.B - 2.f * cornerSize + 1.f,
                editorBounds.R - 1.f, editorBounds.B - 1.f}),
      mCornerSize(cornerSize), mLabelStyle(labelStyle), mIdleColor(idleColor),
      mMouseOverColor(mouseOverColor), mDraggingColor(draggingColor), mAllowedScales(allowedScales)
{
  std::sort(mAllowedScales.begin(), mAllowedScales.end());
}

void IRasterScaleCornerDragControl::RescaleEditor(IGraphics& ui, float scale)
{
  ui.StartDragResize();
  ui.SetDragWithShift(false);
  ui.Resize(scale);
  ui.EndDragResize();
}

float IRasterScaleCornerDragControl::DrawScale() const
{
  return GetUI() ? GetUI()->GetDrawScale() : 1.f;
}

float IRasterScaleCornerDragControl::UnitsPerPixel() const
{
  return 1.f / std::max(DrawScale(), kMinScaleForGeometry);
}

void IRasterScaleCornerDragControl::UpdateGeometry()
{
  if (!GetUI())
    return;
  const float w = static_cast<float>(GetUI()->Width());
  const float h = static_cast<float>(GetUI()->Height());
  const float k = UnitsPerPixel();
  mHitRECT = {w - 2.f * mCornerSize * k + 1.f, h - 2.f * mCornerSize * k + 1.f, w - 1.f, h - 1.f};
  mTriangleRECT = {w - mCornerSize * k + 1.f, h - mCornerSize * k + 1.f, w - 1.f, h - 1.f};
  SetRECT({mHitRECT.L - kLabelRoom * k, mHitRECT.T - kLabelRoom * k, w - 1.f, h - 1.f});
}

void IRasterScaleCornerDragControl::OnAttached()
{
  GetUI()->EnableMouseOver(true);
  UpdateGeometry();
}

bool IRasterScaleCornerDragControl::IsHit(float x, float y) const
{
  if (mHitRECT == IRECT{})
    return false;
  return mHitRECT.Contains(x, y);
}

float IRasterScaleCornerDragControl::NearestAllowedScale(float scale) const
{
  float best = scale;
  float bestDistance = std::numeric_limits<float>::max();
  for (const float candidate : mAllowedScales)
  {
    const float distance = std::fabs(scale - candidate);
    if (distance < bestDistance ||
        (std::fabs(distance - bestDistance) <= kScaleTolerance && candidate < best))
    {
      best = candidate;
      bestDistance = distance;
    }
  }
  return best;
}

void IRasterScaleCornerDragControl::OnMouseDown(float, float, const IMouseMod& mod)
{
  if (mod.R)
    return;
  mDragStartScale = DrawScale();
  GetUI()->StartDragResize();
  GetUI()->SetDragWithShift(false);
}

void IRasterScaleCornerDragControl::OnMouseUp(float, float, const IMouseMod& mod)
{
  if (mod.S)
    return;
  const float scale = DrawScale();
  if (std::fabs(scale - mDragStartScale) <= kScaleTolerance)
    return;
  const float snap = NearestAllowedScale(scale);
  if (std::fabs(snap - scale) > kScaleTolerance)
    GetUI()->SetPendingSnapScale(snap);
}

void IRasterScaleCornerDragControl::OnMouseDblClick(float, float, const IMouseMod&)
{
  RescaleEditor(*GetUI(), 1.f);
}

void IRasterScaleCornerDragControl::OnMouseOver(float x, float y, const IMouseMod& mod)
{
  if (!mMouseOver)
    mPreviousCursor = GetUI()->SetMouseCursor(ECursor::SIZENWSE);
  mMouseOver = true;
  IControl::OnMouseOver(x, y, mod);
}

void IRasterScaleCornerDragControl::OnMouseOut()
{
  if (mMouseOver)
    GetUI()->SetMouseCursor(mPreviousCursor);
  mMouseOver = false;
  IControl::OnMouseOut();
}

std::string IRasterScaleCornerDragControl::LabelText() const
{
  const IGraphics* ui = GetUI();
  if (!ui || !ui->IsResizingInProcess() || ui->GetDragWithShift() ||
      std::fabs(ui->GetDrawScale() - mDragStartScale) <= kScaleTolerance)
    return {};
  char text[16];
  std::snprintf(text, sizeof text, "%ld%%",
                std::lround(NearestAllowedScale(ui->GetDrawScale()) * 100.f));
  return text;
}

IRasterScaleCornerDragControl::IRECT IRasterScaleCornerDragControl::LabelRECT() const
{
  const float k = UnitsPerPixel();
  const float right = mTriangleRECT.L - kLabelGap * k;
  const float bottom = mTriangleRECT.T - kLabelGap * k;
  return {right - kLabelWidth * k, bottom - kLabelHeight * k, right, bottom};
}

void IRasterScaleCornerDragControl::Draw(IGraphics& g)
{
  const IColor& color = g.IsResizingInProcess() ? mDraggingColor
                        : GetMouseIsOver()      ? mMouseOverColor
                                                : mIdleColor;
  const IRECT& t = mTriangleRECT;
  g.FillTriangle(color, t.L, t.B, t.R, t.T, t.R, t.B);

  const std::string label = LabelText();
  if (label.empty())
    return;
  const float k = UnitsPerPixel();
  const IRECT box = LabelRECT();
  g.FillRoundRect(kLabelFill, box, kLabelRadius * k);
  g.DrawRoundRect(kLabelOutline, box, kLabelRadius * k, nullptr, 1.f);
  IText style = mLabelStyle;
  style.mSize = kLabelTextSize * k;
  g.DrawText(style, label.c_str(), box);
}
