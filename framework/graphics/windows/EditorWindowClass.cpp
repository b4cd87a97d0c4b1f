#include "framework/graphics/windows/EditorWindowClass.h"

#include "framework/graphics/windows/EditorModule.h"

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

} // namespace

std::unique_ptr<EditorWindowClass> EditorWindowClass::Acquire(WNDPROC windowProc)
{
  ClassState& state = State();
  const std::lock_guard<std::mutex> guard(state.lock);
  if (state.holders == 0)
  {
    state.module = EditorModule();
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
