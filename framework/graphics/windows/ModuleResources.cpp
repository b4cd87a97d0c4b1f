// On Windows the module's images and font are its own resources (a .rc file compiled into each
// DLL and program), read in place from the loaded module.
#include "framework/graphics/ResourceEntry.h"
#include "framework/graphics/windows/EditorModule.h"
#include "framework/graphics/windows/ModuleResourceTable.h"

namespace iplug::igraphics
{

std::span<const ResourceEntry> ModuleResources()
{
  static const ModuleResourceTable table(EditorModule());
  return table.Entries();
}

} // namespace iplug::igraphics
