#pragma once

namespace iplug::platform
{

// The loaded module's own handle (a Windows HMODULE), as its entry routine or InitDll hands it
// over; the editor layer loads its resources from it and registers its window classes with it.
// Null until handed over, and always null on Linux.
void SetModuleInstance(void* handle);
void* GetModuleInstance();

} // namespace iplug::platform
