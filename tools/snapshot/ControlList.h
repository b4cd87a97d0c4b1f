#pragma once

#include "framework/graphics/IGraphics.h"

namespace velmora::tools
{

// Writes one line per control of the editor, in attachment order: its index, its rectangle in
// logical units (left top right bottom) and, for a knob drawn from a strip, the frame it shows
// (else -1). Other back ends' snapshots are compared control by control with it.
bool WriteControlList(const iplug::igraphics::IGraphics& ui, const char* path);

} // namespace velmora::tools
