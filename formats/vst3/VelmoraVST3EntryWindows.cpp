// The Windows DLL's entry routine and its InitDll and ExitDll exports.
#include "formats/vst3/ModuleInitCount.h"
#include "framework/platform/ModuleExport.h"
#include "framework/platform/ModuleInstance.h"

#include <windows.h>

namespace
{
// Recorded when the process attaches the DLL; written once, before any other call.
HINSTANCE gModuleHandle = nullptr;
} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
  if (reason == DLL_PROCESS_ATTACH)
    gModuleHandle = instance;
  return TRUE;
}

VELMORA_MODULE_EXPORT bool InitDll()
{
  // The first entry hands the editor layer the handle it loads its resources from.
  if (velmora::vst3::EnterModule() == 1)
    iplug::platform::SetModuleInstance(gModuleHandle);
  return true;
}

VELMORA_MODULE_EXPORT bool ExitDll()
{
  return velmora::vst3::ExitModule();
}
