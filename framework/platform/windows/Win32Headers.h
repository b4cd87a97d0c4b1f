#pragma once

// windows.h without the macros that would rename the framework's own functions: the A/W
// switches for DrawText and LoadBitmap (IGraphics and its back ends use neither Win32 function),
// and min/max.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef DrawText
#undef LoadBitmap
