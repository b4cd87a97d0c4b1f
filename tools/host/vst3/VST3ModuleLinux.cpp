// Where a Linux VST3 module's binary sits, and its entry and exit.
#include "tools/host/vst3/VST3Module.h"

#include <filesystem>

namespace velmora::host::vst3
{

namespace
{

using ModuleEntryProc = bool (*)(void*);
using ModuleExitProc = bool (*)();

} // namespace

std::filesystem::path BinaryInBundle(const std::filesystem::path& bundle,
                                     const std::filesystem::path& name)
{
  std::filesystem::path binary = bundle / "Contents" / "x86_64-linux" / name.stem();
  binary += ".so";
  return binary;
}

bool VST3Module::Enter(std::string& error)
{
  const auto entry = reinterpret_cast<ModuleEntryProc>(Symbol("ModuleEntry"));
  if (!entry)
  {
    error = mBinaryPath + " lacks ModuleEntry";
    return false;
  }
  // The module is handed its own library handle.
  if (!entry(mLibrary->Handle()))
  {
    error = "ModuleEntry of " + mBinaryPath + " failed";
    return false;
  }
  return true;
}

void VST3Module::Exit()
{
  if (const auto exitProc = reinterpret_cast<ModuleExitProc>(Symbol("ModuleExit")))
    exitProc();
}

} // namespace velmora::host::vst3
