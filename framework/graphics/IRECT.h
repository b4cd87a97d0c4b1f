#pragma once

#include <algorithm>

namespace iplug::igraphics
{

// An axis-aligned rectangle in the editor's logical units: left, top, right, bottom.
struct IRECT
{
  float L = 0.f;
  float T = 0.f;
  float R = 0.f;
  float B = 0.f;

  float W() const { return R - L; }
  float H() const { return B - T; }
  float MW() const { return (L + R) * 0.5f; }
  float MH() const { return (T + B) * 0.5f; }
  bool Empty() const { return !(R > L && B > T); }
  // Half-open: the left and top edges are inside, the right and bottom ones are not.
  bool Contains(float x, float y) const { return x >= L && x < R && y >= T && y < B; }
  bool Intersects(const IRECT& other) const
  {
    return !Empty() && !other.Empty() && L < other.R && other.L < R && T < other.B && other.T < B;
  }
  // The smallest rectangle holding both; an empty rectangle adds nothing.
  IRECT Union(const IRECT& other) const
  {
    if (Empty())
      return other;
    if (other.Empty())
      return *this;
    return {std::min(L, other.L), std::min(T, other.T), std::max(R, other.R), std::max(B, other.B)};
  }
  bool operator==(const IRECT&) const = default;
};

} // namespace iplug::igraphics
