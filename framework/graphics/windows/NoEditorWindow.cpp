// Until the Win32 window and a drawing back end on a library that Windows ships arrive, no
// graphics context is made on Windows: opening an editor fails, and the format wrappers offer
// hosts no editor view at all.
#include "framework/graphics/MakeGraphics.h"

namespace iplug::igraphics
{

std::unique_ptr<IGraphics> MakeGraphics(IEditorDelegate&, int, int, int, float)
{
  return nullptr;
}

} // namespace iplug::igraphics
