#include "framework/graphics/windows/EditorWindowClass.h"

#include "framework/platform/ModuleInstance.h"

#include <cwchar>
#include <mutex>

namespace iplug::igraphics
{

namespace
{

struct ClassState
{
  std::mutex lock;
  int holders = 0;
  HINSTANCE module = nullptr;
  wchar_t name[64] = {};
};

ClassState& State()
{
  static ClassState state;
  return state;
}

// The handle the module's entry routine recorded; in a program (no DLL) the module holding this
// code.
HINSTANCE ThisModule()
{
  if (void* recorded = platform::GetModuleInstance())
    return static_cast<HINSTANCE>(recorded);
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

} // namespace

std::unique_ptr<EditorWindowClass> EditorWindowClass::Acquire(WNDPROC windowProc)
{
  ClassState& state = State();
  const std::lock_guard<std::mutex> guard(state.lock);
  if (state.holders == 0)
  {
    state.module = ThisModule();
    // The module's address makes the name its own.
    std::swprintf(state.name, std::size(state.name), L"VelmoraEditor%p",
                  static_cast<void*>(state.module));
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    // Double-clicks reset knobs; the window paints all of itself, so no background brush.
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = state.module;
    windowClass.hCursor = nullptr;
    windowClass.lpszClassName = state.name;
    // A class left registered because a window of it outlived its editor is the same class.
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
      return nullptr;
  }
  ++state.holders;
  return std::unique_ptr<EditorWindowClass>(new EditorWindowClass());
}

EditorWindowClass::~EditorWindowClass()
{
  ClassState& state = State();
  const std::lock_guard<std::mutex> guard(state.lock);
  if (--state.holders == 0)
    UnregisterClassW(state.name, state.module);
}

const wchar_t* EditorWindowClass::Name() const
{
  return State().name;
}

HINSTANCE EditorWindowClass::Module() const
{
  return State().module;
}

} // namespace iplug::igraphics
