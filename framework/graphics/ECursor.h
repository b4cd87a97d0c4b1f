#pragma once

namespace iplug::igraphics
{

// Mouse cursor shapes an editor can ask its window for.
enum class ECursor
{
  ARROW,
  SIZENWSE,
  HAND
};

} // namespace iplug::igraphics
