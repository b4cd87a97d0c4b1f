#pragma once

#include "framework/platform/windows/Win32Headers.h"

namespace iplug::igraphics
{

// user32's GetDpiForWindow (Windows 10, version 1607 and later).
using DpiForWindowFunction = UINT(WINAPI*)(HWND);

// GetDpiForWindow as user32.dll exports it, looked up at run time; null on a Windows without it.
DpiForWindowFunction FindDpiForWindow();

// The screen's pixels per device-independent pixel for a window: its DPI / 96 rounded to a whole
// number, at least 1; 1 when there is no function to ask or it answers 0 (no such window).
int ScreenScaleOf(HWND window, DpiForWindowFunction dpiForWindow);

inline int ScreenScaleOf(HWND window)
{
  return ScreenScaleOf(window, FindDpiForWindow());
}

} // namespace iplug::igraphics
