#pragma once

#include <memory>
#include <string>

namespace velmora::host
{

// A plug-in module's shared library, loaded as the platform's hosts load it: dlopen on Linux,
// LoadLibraryW on Windows. Unloaded when destroyed.
class ModuleLibrary
{
public:
  // path in UTF-8. Null with a reason when the library cannot be loaded.
  static std::unique_ptr<ModuleLibrary> Load(const std::string& path, std::string& error);
  ~ModuleLibrary();
  ModuleLibrary(const ModuleLibrary&) = delete;
  ModuleLibrary& operator=(const ModuleLibrary&) = delete;

  // An exported symbol, or null.
  void* Symbol(const char* name) const;
  // The platform's handle (dlopen's, or the HMODULE), as module entry points take it.
  void* Handle() const { return mHandle; }

private:
  explicit ModuleLibrary(void* handle) : mHandle(handle) {}

  void* mHandle;
};

} // namespace velmora::host
