#pragma once

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
  bool Empty() const { return !(R > L && B > T); }
  bool Contains(float x, float y) const { return x >= L && x < R && y >= T && y < B; }
};

} // namespace iplug::igraphics
