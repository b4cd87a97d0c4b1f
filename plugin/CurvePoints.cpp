#include "plugin/CurvePoints.h"

#include "dsp/SaturationCurve.h"

#include <cmath>

namespace velmora
{

void ComputeCurvePoints(const ShaperCoefficients& record, std::span<double> points)
{
  const double n = static_cast<double>(points.size());
  for (size_t i = 0; i < points.size(); ++i)
  {
    const double x = static_cast<double>(i) / n * 2.0 - 1.0;
    double y = (ShapeStatic(x, record) + 1.0) * 0.5;
    if (y >= kCurvePointCeiling || std::isnan(y))
      y = kCurvePointCeiling;
    if (y < kCurvePointFloor)
      y = kCurvePointFloor;
    points[i] = y;
  }
}

} // namespace velmora
