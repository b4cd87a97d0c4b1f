#pragma once

#include "dsp/ShaperCoefficients.h"

#include <span>

namespace velmora
{

// Lowest and highest height a curve point may take, so the line stays inside its frame.
inline constexpr double kCurvePointFloor = 0.0015;
inline constexpr double kCurvePointCeiling = 0.999;

// Fills points with the curve's heights over inputs -1 + 2i/n for i = 0..n-1 (n = points.size(),
// +1 itself excluded): the static curve without mix and output level, mapped from -1..1 to 0..1
// and held within the floor and the ceiling (NaN goes to the ceiling).
void ComputeCurvePoints(const ShaperCoefficients& record, std::span<double> points);

} // namespace velmora
