#include "tools/host/vst3/VST3Module.h"

#include "tools/host/Utf8Path.h"

#include <filesystem>

namespace velmora::host::vst3
{

namespace
{

using GetFactoryProc = Steinberg::IPluginFactory* (*)();

} // namespace

VST3Module::VST3Module(std::unique_ptr<ModuleLibrary> library, std::string binaryPath)
    : mLibrary(std::move(library)), mBinaryPath(std::move(binaryPath))
{
}

std::string ResolveVst3Binary(const std::string& path)
{
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path bundle = PathFromUtf8(path);
  if (!fs::is_directory(bundle, ec))
    return path;
  const fs::path name =
      bundle.filename().empty() ? bundle.parent_path().filename() : bundle.filename();
  return Utf8FromPath(BinaryInBundle(bundle, name));
}

std::shared_ptr<VST3Module> VST3Module::Load(const std::string& path, std::string& error)
{
  const std::string binary = ResolveVst3Binary(path);
  std::error_code ec;
  if (!std::filesystem::exists(PathFromUtf8(binary), ec))
  {
    error = "no VST3 module at " + binary;
    return nullptr;
  }
  std::string reason;
  std::unique_ptr<ModuleLibrary> library = ModuleLibrary::Load(binary, reason);
  if (!library)
  {
    error = "cannot load " + binary + ": " + reason;
    return nullptr;
  }
  std::shared_ptr<VST3Module> module(new VST3Module(std::move(library), binary));

  const auto getFactory = reinterpret_cast<GetFactoryProc>(module->Symbol("GetPluginFactory"));
  if (!getFactory)
  {
    error = binary + " lacks GetPluginFactory";
    return nullptr;
  }
  if (!module->Enter(error))
    return nullptr;
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
    Exit();
}

} // namespace velmora::host::vst3
