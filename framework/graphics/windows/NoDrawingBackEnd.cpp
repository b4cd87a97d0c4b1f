// Windows has no drawing back end yet (one on GDI+ will stand beside the cairo one), and no
// graphics context is made there: see NoEditorWindow.cpp.
#include "framework/graphics/IDrawContext.h"

namespace iplug::igraphics
{

std::unique_ptr<IDrawContext> MakeDrawContext()
{
  return nullptr;
}

} // namespace iplug::igraphics
