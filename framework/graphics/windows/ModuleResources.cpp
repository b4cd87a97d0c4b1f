// On Windows the module's images and font are its own resources (a .rc file compiled into each
// DLL and program), read in place from the loaded module.
#include "framework/graphics/ResourceEntry.h"
#include "framework/graphics/windows/ModuleResourceTable.h"
#include "framework/platform/ModuleInstance.h"

namespace iplug::igraphics
{

namespace
{

// The handle the module's entry routine recorded; a program records none, and then it is the
// module this code is linked into, which for a DLL is the same one.
HMODULE ResourceModule()
{
  if (void* recorded = platform::GetModuleInstance())
    return static_cast<HMODULE>(recorded);
  HMODULE self = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ResourceModule), &self);
  return self;
}

} // namespace

std::span<const ResourceEntry> ModuleResources()
{
  static const ModuleResourceTable table(ResourceModule());
  return table.Entries();
}

} // namespace iplug::igraphics
