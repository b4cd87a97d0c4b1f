#include "editor/ITransferCurveControl.h"

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
  mPoints.assign(points.begin(), points.end());
  SetDirty(false);
}

void ITransferCurveControl::CopyPoints(std::vector<double>& out) const
{
  const std::lock_guard lock(mPointsLock);
  out.assign(mPoints.begin(), mPoints.end());
}

} // namespace iplug::igraphics
