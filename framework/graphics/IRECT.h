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
};

} // namespace iplug::igraphics
