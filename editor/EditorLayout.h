#pragma once

#include <functional>

namespace iplug::igraphics
{
class IGraphics;
class ITransferCurveControl;
} // namespace iplug::igraphics

namespace velmora
{

inline constexpr const char* kVersionLabel = "4.1.2";

// Called with the editor's curve display right after it is attached: the plug-in links it and
// gives it its first points, so the curve is drawn from the first frame on.
using CurveDisplayLinker = std::function<void(iplug::igraphics::ITransferCurveControl*)>;

// Puts the whole editor in place on a fresh graphics context whose resources are set: loads the
// font and the images, then attaches the background, the eleven knobs, the oversampling switch,
// the curve display, the four meters (tags 1 to 4), the version label and the corner scaling
// control, in drawing order.
void LayoutEditor(iplug::igraphics::IGraphics& g, const CurveDisplayLinker& linkCurve);

} // namespace velmora
