#include "tools/host/vst3/VST3Module.h"

#include <dlfcn.h>

#include <filesystem>

#ifdef VELMORA_HOST_KEEPS_MODULES_MAPPED
// Sanitizer builds: see cmake/Sanitizers.cmake.
constexpr int kKeepMapped = RTLD_NODELETE;
#else
constexpr int kKeepMapped = 0;
#endif

namespace velmora::host::vst3
{

namespace
{

using GetFactoryProc = Steinberg::IPluginFactory* (*)();
using ModuleEntryProc = bool (*)(void*);
using ModuleExitProc = bool (*)();

} // namespace

std::string ResolveVst3Binary(const std::string& path)
{
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path bundle(path);
  if (!fs::is_directory(bundle, ec))
    return path;
  const fs::path name =
      bundle.filename().empty() ? bundle.parent_path().filename() : bundle.filename();
  fs::path binary = bundle / "Contents" / "x86_64-linux" / name.stem();
  binary += ".so";
  return binary.string();
}

VST3Module::VST3Module(void* handle, std::string binaryPath)
    : mHandle(handle), mBinaryPath(std::move(binaryPath))
{
}

std::shared_ptr<VST3Module> VST3Module::Load(const std::string& path, std::string& error)
{
  const std::string binary = ResolveVst3Binary(path);
  if (!std::filesystem::exists(binary))
  {
    error = "no VST3 module at " + binary;
    return nullptr;
  }
  void* handle = dlopen(binary.c_str(), RTLD_NOW | RTLD_LOCAL | kKeepMapped);
  if (!handle)
  {
    const char* reason = dlerror();
    error = "cannot load " + binary + ": " + (reason ? reason : "unknown reason");
    return nullptr;
  }
  std::shared_ptr<VST3Module> module(new VST3Module(handle, binary));

  const auto entry = reinterpret_cast<ModuleEntryProc>(module->Symbol("ModuleEntry"));
  const auto getFactory = reinterpret_cast<GetFactoryProc>(module->Symbol("GetPluginFactory"));
  if (!entry || !getFactory)
  {
    error = binary + " lacks ModuleEntry or GetPluginFactory";
    return nullptr;
  }
  if (!entry(handle))
  {
    error = "ModuleEntry of " + binary + " failed";
    return nullptr;
  }
  module->mEntered = true;
  module->mFactory = Steinberg::owned(getFactory());
  if (!module->mFactory)
  {
    error = "GetPluginFactory of " + binary + " returned no factory";
    return nullptr;
  }
  return module;
}

VST3Module::~VST3Module()
{
  mFactory = nullptr;
  if (mEntered)
  {
    if (const auto exitProc = reinterpret_cast<ModuleExitProc>(Symbol("ModuleExit")))
      exitProc();
  }
  if (mHandle)
    dlclose(mHandle);
}

void* VST3Module::Symbol(const char* name) const
{
  return mHandle ? dlsym(mHandle, name) : nullptr;
}

} // namespace velmora::host::vst3
