#pragma once

#include "framework/platform/windows/Win32Headers.h"

#include <memory>

namespace iplug::igraphics
{

// The editor windows' class, registered with this module's handle under a name of the module's
// own (two of our modules in one host keep apart) while any editor window of the module exists:
// the first holder registers it, the last one unregisters it, so no class outlives the module.
class EditorWindowClass
{
public:
  // A hold on the registered class; null when it cannot be registered.
  static std::unique_ptr<EditorWindowClass> Acquire(WNDPROC windowProc);
  ~EditorWindowClass();
  EditorWindowClass(const EditorWindowClass&) = delete;
  EditorWindowClass& operator=(const EditorWindowClass&) = delete;

  const wchar_t* Name() const;
  HINSTANCE Module() const;

private:
  EditorWindowClass() = default;
};

} // namespace iplug::igraphics
