#pragma once

#include "framework/graphics/IGraphics.h"

#include <memory>

namespace iplug
{
class IEditorDelegate;

namespace igraphics
{

// The editor's graphics context for this platform, at a logical size, frame rate and draw scale.
std::unique_ptr<IGraphics> MakeGraphics(IEditorDelegate& delegate, int width, int height, int fps,
                                        float scale);

} // namespace igraphics
} // namespace iplug
