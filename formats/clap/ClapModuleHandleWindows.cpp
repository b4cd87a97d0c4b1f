// The DLL's entry routine: the editor layer takes the module handle at every notification.
#include "framework/platform/ModuleInstance.h"

#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD, LPVOID)
{
  iplug::platform::SetModuleInstance(instance);
  return TRUE;
}
