#include "tools/host/ModuleLibrary.h"

#include <dlfcn.h>

#ifdef VELMORA_HOST_KEEPS_MODULES_MAPPED
// Sanitizer builds: see cmake/Sanitizers.cmake.
constexpr int kKeepMapped = RTLD_NODELETE;
#else
constexpr int kKeepMapped = 0;
#endif

namespace velmora::host
{

std::unique_ptr<ModuleLibrary> ModuleLibrary::Load(const std::string& path, std::string& error)
{
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | kKeepMapped);
  if (!handle)
  {
    const char* reason = dlerror();
    error = reason ? reason : "unknown reason";
    return nullptr;
  }
  return std::unique_ptr<ModuleLibrary>(new ModuleLibrary(handle));
}

ModuleLibrary::~ModuleLibrary()
{
  dlclose(mHandle);
}

void* ModuleLibrary::Symbol(const char* name) const
{
  return dlsym(mHandle, name);
}

} // namespace velmora::host
