#include "tools/host/ModuleLibrary.h"

#include "tools/host/WindowsText.h"

namespace velmora::host
{

std::unique_ptr<ModuleLibrary> ModuleLibrary::Load(const std::string& path, std::string& error)
{
  HMODULE module = ::LoadLibraryW(Utf16FromUtf8(path).c_str());
  if (!module)
  {
    error = SystemErrorText(::GetLastError());
    return nullptr;
  }
  return std::unique_ptr<ModuleLibrary>(new ModuleLibrary(module));
}

ModuleLibrary::~ModuleLibrary()
{
  ::FreeLibrary(static_cast<HMODULE>(mHandle));
}

void* ModuleLibrary::Symbol(const char* name) const
{
  // A FARPROC is a function pointer; callers cast it back to the export's own type.
  return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(mHandle), name));
}

} // namespace velmora::host
