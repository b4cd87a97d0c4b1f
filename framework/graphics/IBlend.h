#pragma once

namespace iplug::igraphics
{

// How a drawing operation combines with what is already drawn.
enum class EBlend
{
  Default,
  Clobber,
  SrcOver,
  Add
};

// A blend mode with the opacity applied to what is drawn.
struct IBlend
{
  EBlend method = EBlend::Default;
  float weight = 1.f;
};

} // namespace iplug::igraphics
