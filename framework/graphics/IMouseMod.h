#pragma once

namespace iplug::igraphics
{

// The buttons and modifier keys held during a mouse event: left, right, Shift, Control, Alt.
struct IMouseMod
{
  bool L = false;
  bool R = false;
  bool S = false;
  bool C = false;
  bool A = false;
};

} // namespace iplug::igraphics
