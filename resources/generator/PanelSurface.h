#pragma once

#include "resources/generator/Canvas.h"

namespace velmora::art
{

// The graphite plate: vertical gradient, edge shading and bevel lines.
void PaintPanelBase(cairo_t* cr);

// A fixed-seed grain of one or two levels over the whole picture, so large areas do not band
// when the editor is scaled.
void AddPanelGrain(const Canvas& panel);

} // namespace velmora::art
