#include "tools/host/clap/ClapModule.h"

#include "tools/host/Utf8Path.h"

#include <filesystem>

namespace velmora::host
{

std::unique_ptr<ClapModule> ClapModule::Open(const std::string& givenPath, std::string& error)
{
  // Hosts hand the entry the module's absolute path.
  std::error_code ec;
  const std::filesystem::path resolved = std::filesystem::canonical(PathFromUtf8(givenPath), ec);
  const std::string path = ec ? givenPath : Utf8FromPath(resolved);
  std::string reason;
  std::unique_ptr<ModuleLibrary> library = ModuleLibrary::Load(path, reason);
  if (!library)
  {
    error = "cannot open " + path + ": " + reason;
    return nullptr;
  }
  const auto* entry = static_cast<const clapabi::clap_plugin_entry*>(library->Symbol("clap_entry"));
  if (!entry || !entry->init || !entry->deinit || !entry->get_factory)
  {
    error = path + " has no usable clap_entry";
    return nullptr;
  }
  const auto* factory =
      static_cast<const clapabi::clap_plugin_factory*>(library->Symbol("clap_factory"));
  return std::unique_ptr<ClapModule>(new ClapModule(path, std::move(library), entry, factory));
}

ClapModule::ClapModule(std::string path, std::unique_ptr<ModuleLibrary> library,
                       const clapabi::clap_plugin_entry* entry,
                       const clapabi::clap_plugin_factory* exportedFactory)
    : mPath(std::move(path)), mLibrary(std::move(library)), mEntry(entry),
      mExportedFactory(exportedFactory)
{
}

ClapModule::~ClapModule()
{
  while (mInitCount > 0)
    Deinit();
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
