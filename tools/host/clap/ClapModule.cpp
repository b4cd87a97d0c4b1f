#include "tools/host/clap/ClapModule.h"

#include <dlfcn.h>

#include <climits>
#include <cstdlib>

#ifdef VELMORA_HOST_KEEPS_MODULES_MAPPED
// Sanitizer builds: see cmake/Sanitizers.cmake.
constexpr int kKeepMapped = RTLD_NODELETE;
#else
constexpr int kKeepMapped = 0;
#endif

namespace velmora::host
{

std::unique_ptr<ClapModule> ClapModule::Open(const std::string& givenPath, std::string& error)
{
  // Hosts hand the entry the module's absolute path.
  char resolved[PATH_MAX];
  const std::string path = realpath(givenPath.c_str(), resolved) ? resolved : givenPath;
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | kKeepMapped);
  if (!handle)
  {
    const char* reason = dlerror();
    error = "cannot open " + path + ": " + (reason ? reason : "unknown error");
    return nullptr;
  }
  const auto* entry = static_cast<const clapabi::clap_plugin_entry*>(dlsym(handle, "clap_entry"));
  if (!entry || !entry->init || !entry->deinit || !entry->get_factory)
  {
    error = path + " has no usable clap_entry";
    dlclose(handle);
    return nullptr;
  }
  const auto* factory =
      static_cast<const clapabi::clap_plugin_factory*>(dlsym(handle, "clap_factory"));
  return std::unique_ptr<ClapModule>(new ClapModule(path, handle, entry, factory));
}

ClapModule::ClapModule(std::string path, void* handle, const clapabi::clap_plugin_entry* entry,
                       const clapabi::clap_plugin_factory* exportedFactory)
    : mPath(std::move(path)), mHandle(handle), mEntry(entry), mExportedFactory(exportedFactory)
{
}

ClapModule::~ClapModule()
{
  while (mInitCount > 0)
    Deinit();
  dlclose(mHandle);
}

bool ClapModule::Init()
{
  return InitWithPath(mPath.c_str());
}

bool ClapModule::InitWithPath(const char* path)
{
  const bool ok = mEntry->init(path);
  if (ok)
    ++mInitCount;
  return ok;
}

void ClapModule::Deinit()
{
  mEntry->deinit();
  if (mInitCount > 0)
    --mInitCount;
}

const void* ClapModule::GetFactory(const char* id) const
{
  return mEntry->get_factory(id);
}

const clapabi::clap_plugin_factory* ClapModule::PluginFactory() const
{
  return static_cast<const clapabi::clap_plugin_factory*>(
      GetFactory(clapabi::CLAP_PLUGIN_FACTORY_ID));
}

} // namespace velmora::host
