#include "framework/graphics/MakeGraphics.h"

namespace iplug::igraphics
{

// Off-screen until the platform window takes over the editor's context.
std::unique_ptr<IGraphics> MakeGraphics(IEditorDelegate& delegate, int width, int height, int fps,
                                        float scale)
{
  return std::make_unique<IGraphics>(delegate, width, height, fps, scale);
}

} // namespace iplug::igraphics
