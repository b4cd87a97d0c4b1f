#pragma once

#include "framework/clap/ClapCore.h"
#include "tools/host/ModuleLibrary.h"

#include <memory>
#include <string>

namespace velmora::host
{

// A CLAP module file opened as a host opens it: the shared library and its exported entry.
// Init() calls the entry's init with the module's own path; every successful Init() is matched
// by a deinit at the latest when the module is closed.
class ClapModule
{
public:
  static std::unique_ptr<ClapModule> Open(const std::string& givenPath, std::string& error);
  ~ClapModule();
  ClapModule(const ClapModule&) = delete;
  ClapModule& operator=(const ClapModule&) = delete;

  const std::string& Path() const { return mPath; }
  const clapabi::clap_plugin_entry& Entry() const { return *mEntry; }
  // The exported factory record, looked up directly rather than through the entry.
  const clapabi::clap_plugin_factory* ExportedFactory() const { return mExportedFactory; }

  bool Init();
  bool InitWithPath(const char* path);
  void Deinit();
  int InitCount() const { return mInitCount; }

  const void* GetFactory(const char* id) const;
  const clapabi::clap_plugin_factory* PluginFactory() const;

private:
  ClapModule(std::string path, std::unique_ptr<ModuleLibrary> library,
             const clapabi::clap_plugin_entry* entry,
             const clapabi::clap_plugin_factory* exportedFactory);

  std::string mPath;
  std::unique_ptr<ModuleLibrary> mLibrary;
  const clapabi::clap_plugin_entry* mEntry;
  const clapabi::clap_plugin_factory* mExportedFactory;
  int mInitCount = 0;
};

} // namespace velmora::host
