#pragma once

#include "tools/host/ModuleLibrary.h"

#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/base/smartpointer.h"

#include <filesystem>
#include <memory>
#include <string>

namespace velmora::host::vst3
{

// A VST3 module loaded as the platform's hosts load it: the library, its entry (ModuleEntry on
// Linux, InitDll on Windows), then its factory. Released in reverse order (factory, ModuleExit or
// ExitDll, unloading) once nothing of it is in use.
class VST3Module
{
public:
  static std::shared_ptr<VST3Module> Load(const std::string& path, std::string& error);
  ~VST3Module();
  VST3Module(const VST3Module&) = delete;
  VST3Module& operator=(const VST3Module&) = delete;

  Steinberg::IPluginFactory& Factory() const { return *mFactory; }
  const std::string& BinaryPath() const { return mBinaryPath; }
  // An exported symbol of the module, or null.
  void* Symbol(const char* name) const { return mLibrary->Symbol(name); }

private:
  VST3Module(std::unique_ptr<ModuleLibrary> library, std::string binaryPath);
  // The platform's entry and exit functions; false with a reason when there is none, or the
  // entry fails.
  bool Enter(std::string& error);
  void Exit();

  std::unique_ptr<ModuleLibrary> mLibrary;
  std::string mBinaryPath;
  bool mEntered = false;
  Steinberg::IPtr<Steinberg::IPluginFactory> mFactory;
};

// The binary a module path stands for: inside a bundle folder
// (<name>.vst3/Contents/x86_64-linux/<name>.so on Linux,
// <name>.vst3/Contents/x86_64-win/<name>.vst3 on Windows), or the path itself when it names a
// file. Paths in UTF-8.
std::string ResolveVst3Binary(const std::string& path);
// The platform's binary inside the bundle folder, given the bundle's file name.
std::filesystem::path BinaryInBundle(const std::filesystem::path& bundle,
                                     const std::filesystem::path& name);

} // namespace velmora::host::vst3
