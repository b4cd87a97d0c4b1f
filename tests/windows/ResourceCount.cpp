#include "tests/windows/ResourceCount.h"

#include "framework/platform/windows/Win32Headers.h"

#include <cstdint>

namespace velmora::test
{
namespace
{

// Windows counts a process's GDI objects, user objects and handles; Wine answers 0 to all three
// questions, so there the live ones are found by asking after every value a handle can have in
// this process, and the user objects by counting the process's windows.
long LiveGdiObjects()
{
  long n = 0;
  for (uintptr_t value = 1; value <= 0xFFFF; ++value)
    n += GetObjectType(reinterpret_cast<HGDIOBJ>(value)) != 0;
  return n;
}

long LiveHandles()
{
  long n = 0;
  DWORD flags = 0;
  for (uintptr_t value = 4; value <= 0xFFFF; value += 4)
    n += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) != 0;
  return n;
}

BOOL CALLBACK CountDescendant(HWND, LPARAM count)
{
  ++*reinterpret_cast<long*>(count);
  return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM count)
{
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == GetCurrentProcessId())
  {
    ++*reinterpret_cast<long*>(count);
    // Every descendant, however deep.
    EnumChildWindows(window, &CountDescendant, count);
  }
  return TRUE;
}

long LiveWindows()
{
  long n = 0;
  EnumWindows(&CountTopLevel, reinterpret_cast<LPARAM>(&n));
  return n;
}

} // namespace

ResourceCount CountResources()
{
  const DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  const DWORD user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  DWORD handles = 0;
  GetProcessHandleCount(GetCurrentProcess(), &handles);
  return {gdi != 0 ? static_cast<long>(gdi) : LiveGdiObjects(),
          user != 0 ? static_cast<long>(user) : LiveWindows(),
          handles != 0 ? static_cast<long>(handles) : LiveHandles()};
}

} // namespace velmora::test
