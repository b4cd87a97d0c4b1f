#include "editor/ITransferCurveControl.h"

#include "framework/graphics/IGraphics.h"

#include <algorithm>

namespace iplug::igraphics
{

ITransferCurveControl::ITransferCurveControl(const IRECT& bounds, const IColor& lineColor,
                                             const IBlend& lineBlend)
    : IControl(bounds), mLineColor(lineColor), mLineBlend(lineBlend)
{
  SetIgnoreMouse(true);
}

void ITransferCurveControl::ReservePoints(size_t count)
{
  const std::lock_guard lock(mPointsLock);
  mPoints.reserve(count);
}

void ITransferCurveControl::SetPoints(std::span<const double> points)
{
  const std::lock_guard lock(mPointsLock);
  // The same curve again (an edit of a parameter it does not show) needs no redraw.
  if (std::ranges::equal(mPoints, points))
    return;
  mPoints.assign(points.begin(), points.end());
  SetDirty(false);
}

void ITransferCurveControl::CopyPoints(std::vector<double>& out) const
{
  const std::lock_guard lock(mPointsLock);
  out.assign(mPoints.begin(), mPoints.end());
}

void ITransferCurveControl::Draw(IGraphics& g)
{
  CopyPoints(mDrawPoints);
  const size_t n = mDrawPoints.size();
  if (n < 2)
    return;
  const IRECT& r = GetRECT();
  const double step = (static_cast<double>(r.R) - r.L - 1.0) / static_cast<double>(n);
  const float span = r.H() - 1.f;
  const float baseline = r.B - 1.f;
  const auto x = [&](size_t i) { return static_cast<float>(r.L + static_cast<double>(i) * step); };
  const auto y = [&](size_t i) { return baseline - static_cast<float>(span * mDrawPoints[i]); };
  for (size_t i = 1; i < n; ++i)
    g.DrawLine(mLineColor, x(i - 1), y(i - 1), x(i), y(i), &mLineBlend, 1.f);
}

} // namespace iplug::igraphics
