#pragma once

#include <cairo.h>

namespace velmora::art
{

class Typeface;

// The 270-degree tick scale around every knob, centred on the knob's frame.
void PaintKnobScales(cairo_t* cr);

// Product name, knob and switch labels, and the meter legends.
void PaintLegends(cairo_t* cr, const Typeface& typeface);

} // namespace velmora::art
