#pragma once

#include "resources/generator/Canvas.h"

namespace velmora::art
{

class Typeface;

// The whole background of the editor, kPanelWidth x kPanelHeight without alpha.
Canvas PaintPanel(const Typeface& typeface);

} // namespace velmora::art
