// Where a Windows VST3 module's binary sits, and its entry and exit.
#include "tools/host/vst3/VST3Module.h"

#include "tools/host/Utf8Path.h"

#include <filesystem>

namespace velmora::host::vst3
{

namespace
{

using InitDllProc = bool (*)();
using ExitDllProc = bool (*)();

} // namespace

std::string ResolveVst3Binary(const std::string& path)
{
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path bundle = PathFromUtf8(path);
  if (!fs::is_directory(bundle, ec))
    return path;
  const fs::path name =
      bundle.filename().empty() ? bundle.parent_path().filename() : bundle.filename();
  return Utf8FromPath(bundle / "Contents" / "x86_64-win" / name);
}

bool VST3Module::Enter(std::string& error)
{
  const auto entry = reinterpret_cast<InitDllProc>(Symbol("InitDll"));
  if (!entry)
  {
    error = mBinaryPath + " lacks InitDll";
    return false;
  }
  if (!entry())
  {
    error = "InitDll of " + mBinaryPath + " failed";
    return false;
  }
  return true;
}

void VST3Module::Exit()
{
  if (const auto exitProc = reinterpret_cast<ExitDllProc>(Symbol("ExitDll")))
    exitProc();
}

} // namespace velmora::host::vst3
