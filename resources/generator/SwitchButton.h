#pragma once

#include "resources/generator/Canvas.h"

namespace velmora::art
{

class Typeface;

// The two-state push button: off in the top kSwitchSize square, on (indicator lit) below it.
Canvas PaintSwitchButton(const Typeface& typeface);

} // namespace velmora::art
