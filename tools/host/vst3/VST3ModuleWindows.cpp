// Where a Windows VST3 module's binary sits, and its entry and exit.
#include "tools/host/vst3/VST3Module.h"

#include <filesystem>

namespace velmora::host::vst3
{

namespace
{

using InitDllProc = bool (*)();
using ExitDllProc = bool (*)();

} // namespace

std::filesystem::path BinaryInBundle(const std::filesystem::path& bundle,
                                     const std::filesystem::path& name)
{
  return bundle / "Contents" / "x86_64-win" / name;
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
