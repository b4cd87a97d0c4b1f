#pragma once

#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/base/smartpointer.h"

#include <memory>
#include <string>

namespace velmora::host::vst3
{

// A VST3 module loaded as a host loads it: dlopen, ModuleEntry, then its factory. Released in
// reverse order (factory, ModuleExit, dlclose) once nothing of it is in use.
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
  void* Symbol(const char* name) const;

private:
  VST3Module(void* handle, std::string binaryPath);

  void* mHandle = nullptr;
  std::string mBinaryPath;
  bool mEntered = false;
  Steinberg::IPtr<Steinberg::IPluginFactory> mFactory;
};

// The shared object a module path stands for: inside a bundle folder
// (<name>.vst3/Contents/x86_64-linux/<name>.so), or the path itself when it names a file.
std::string ResolveVst3Binary(const std::string& path);

} // namespace velmora::host::vst3
