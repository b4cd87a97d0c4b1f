#pragma once

namespace iplug::igraphics
{

// A colour as four 8-bit channels: alpha, red, green, blue.
struct IColor
{
  int A = 255;
  int R = 0;
  int G = 0;
  int B = 0;
};

} // namespace iplug::igraphics
