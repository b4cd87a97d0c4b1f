#pragma once

#include "framework/platform/windows/Win32Headers.h"

namespace iplug::igraphics
{

// The module the editor belongs to, for its resources and window class: the handle the module's
// entry routine recorded; a program records none, and then it is the module this code is linked
// into, which for a DLL is the same one.
HMODULE EditorModule();

} // namespace iplug::igraphics
