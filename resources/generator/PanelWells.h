#pragma once

#include <cairo.h>

namespace velmora::art
{

// The recessed window of the transfer-curve display with its grid and identity line.
void PaintCurveDisplayWell(cairo_t* cr);

// The two meter windows with the unlit LED domes at every LED position.
void PaintMeterWells(cairo_t* cr);

// A shallow socket in the panel for the oversampling button to sit in.
void PaintSwitchSocket(cairo_t* cr);

} // namespace velmora::art
