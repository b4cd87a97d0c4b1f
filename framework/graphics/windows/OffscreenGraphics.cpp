// Until the Win32 window arrives, the graphics context on Windows draws off-screen only (as the
// snapshot tool needs): it opens no window, and the format wrappers offer hosts no editor view.
#include "framework/graphics/MakeGraphics.h"

namespace iplug::igraphics
{

std::unique_ptr<IGraphics> MakeGraphics(IEditorDelegate& delegate, int width, int height, int fps,
                                        float scale)
{
  return std::make_unique<IGraphics>(delegate, width, height, fps, scale);
}

} // namespace iplug::igraphics
