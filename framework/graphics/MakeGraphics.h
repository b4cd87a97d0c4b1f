#pragma once

#include "framework/graphics/IGraphics.h"

#include <memory>

namespace iplug::igraphics
{

// The graphics context of this platform: one that can open a window inside a host's window.
std::unique_ptr<IGraphics> MakeGraphics(IEditorDelegate& delegate, int width, int height, int fps,
                                        float scale);

} // namespace iplug::igraphics
