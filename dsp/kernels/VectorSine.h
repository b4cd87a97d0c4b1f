#pragma once

// The sine of the curve's sine stage, computed lane by lane without branches.
//
// For |x| <= kSineReducedLimit (2^26, about 6.7e7) it stays within 1e-15 of std::sin: x is
// reduced by the nearest multiple k of pi/2, with pi/2 split into two 27-bit parts and a 53-bit
// rest, so that k times each of the first two parts is exact and the reduced argument carries
// about one rounding; sine and cosine polynomials of degree 13 and 14 on [-pi/4, pi/4] add about
// one more. The limit covers full drive (60 dB) with the polynomial stage fully on for inputs up
// to about 9 (+19 dBFS). Lanes beyond it, infinite or NaN take std::sin itself. Only plain
// multiplications and additions are used, so every instruction set gives the same bits.

#include "dsp/kernels/VectorOps.h"

namespace velmora::VELMORA_KERNEL_ISA
{

inline constexpr double kSineReducedLimit = 67108864.0;

inline Vec Sine(Vec x)
{
  constexpr double kTwoOverPi = 6.36619772367581382433e-01;
  constexpr double kPio2High = 1.570796325802803;
  constexpr double kPio2Mid = 9.920935739593517e-10;
  constexpr double kPio2Low = 5.721188726109832e-18;
  // Adding 1.5 * 2^52 rounds to an integer, which then sits in the low mantissa bits.
  constexpr double kRoundingShift = 6755399441055744.0;

  constexpr double kS1 = -1.66666666666666324348e-01;
  constexpr double kS2 = 8.33333333332248946124e-03;
  constexpr double kS3 = -1.98412698298579493134e-04;
  constexpr double kS4 = 2.75573137070700676789e-06;
  constexpr double kS5 = -2.50507602534068634195e-08;
  constexpr double kS6 = 1.58969099521155010221e-10;
  constexpr double kC1 = 4.16666666666666019037e-02;
  constexpr double kC2 = -1.38888888888741095749e-03;
  constexpr double kC3 = 2.48015872894767294178e-05;
  constexpr double kC4 = -2.75573143513906633035e-07;
  constexpr double kC5 = 2.08757232129817482790e-09;
  constexpr double kC6 = -1.13596475577881948265e-11;

  const Mask reducible = Abs(x) <= Splat(kSineReducedLimit);
  const Vec safe = reducible ? x : Splat(0.0);

  const Vec shifted = safe * kTwoOverPi + kRoundingShift;
  const Vec k = shifted - kRoundingShift;
  const Mask quadrant = reinterpret_cast<Mask>(shifted);
  Vec r = safe - k * kPio2High;
  r = r - k * kPio2Mid;
  r = r - k * kPio2Low;

  const Vec z = r * r;
  const Vec sinPoly = kS2 + z * (kS3 + z * (kS4 + z * (kS5 + z * kS6)));
  const Vec sinR = r + r * z * (kS1 + z * sinPoly);
  const Vec cosPoly = kC1 + z * (kC2 + z * (kC3 + z * (kC4 + z * (kC5 + z * kC6))));
  const Vec cosR = (1.0 - 0.5 * z) + z * z * cosPoly;

  Vec result = (quadrant & 1) != 0 ? cosR : sinR;
  result = (quadrant & 2) != 0 ? -result : result;
  // Keeps the sign of a zero, as std::sin does.
  result = safe == 0.0 ? safe : result;

  if (AnyLane(~reducible)) [[unlikely]]
  {
    for (int lane = 0; lane < kLanes; ++lane)
    {
      if (!reducible[lane])
        result[lane] = __builtin_sin(x[lane]);
    }
  }
  return result;
}

} // namespace velmora::VELMORA_KERNEL_ISA
