#pragma once

#include "resources/generator/Canvas.h"
#include "resources/generator/Palette.h"

namespace velmora::art
{

// One lit LED of kLedSize x kLedSize on black (black adds nothing when drawn additively):
// a near-white core fading through the given colour to black at the edge.
Canvas PaintLedGlow(Rgb core, Rgb colour);

} // namespace velmora::art
