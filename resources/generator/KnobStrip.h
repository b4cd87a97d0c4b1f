#pragma once

#include "resources/generator/Canvas.h"

namespace velmora::art
{

// A knob strip: kStripFrames pictures of one knob of frameSize x frameSize, row by row in a grid
// of kStripColumns x kStripRows, turning evenly from the minimum to the maximum angle.
Canvas PaintKnobStrip(int frameSize);

// The pointer angle of a frame, clockwise from straight up, in degrees.
double KnobFrameAngle(int frame);

} // namespace velmora::art
