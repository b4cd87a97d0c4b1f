#include "framework/graphics/windows/EditorModule.h"

#include "framework/platform/ModuleInstance.h"

namespace iplug::igraphics
{

HMODULE EditorModule()
{
  if (void* recorded = platform::GetModuleInstance())
    return static_cast<HMODULE>(recorded);
  HMODULE self = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&EditorModule), &self);
  return self;
}

} // namespace iplug::igraphics
