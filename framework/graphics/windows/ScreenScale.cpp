#include "framework/graphics/windows/ScreenScale.h"

namespace iplug::igraphics
{

namespace
{
constexpr UINT kDefaultDpi = 96;
} // namespace

DpiForWindowFunction FindDpiForWindow()
{
  // user32 is loaded in every process with windows; no reference is taken, none is dropped.
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (!user32)
    return nullptr;
  return reinterpret_cast<DpiForWindowFunction>(
      reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForWindow")));
}

int ScreenScaleOf(HWND window, DpiForWindowFunction dpiForWindow)
{
  const UINT dpi = dpiForWindow ? dpiForWindow(window) : 0;
  if (dpi == 0)
    return 1;
  // Halves round up: 144 DPI (150 %) draws at 2.
  const UINT scale = (dpi + kDefaultDpi / 2) / kDefaultDpi;
  return scale < 1 ? 1 : static_cast<int>(scale);
}

} // namespace iplug::igraphics
