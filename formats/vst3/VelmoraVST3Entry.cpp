// The exports of the VST3 module: the plug-in factory with its one class, and the module
// entry and exit counting.
#include "formats/vst3/VelmoraVST3Factory.h"

#include "pluginterfaces/base/ipluginbase.h"

#define VELMORA_VST3_EXPORT extern "C" __attribute__((visibility("default")))

namespace
{

// Entries not yet matched by an exit. Hosts call entry and exit from one thread.
int gModuleEntryCount = 0;

} // namespace

VELMORA_VST3_EXPORT Steinberg::IPluginFactory* PLUGIN_API GetPluginFactory()
{
  return velmora::AcquireVST3Factory();
}

VELMORA_VST3_EXPORT bool ModuleEntry(void*)
{
  ++gModuleEntryCount;
  return true;
}

VELMORA_VST3_EXPORT bool ModuleExit()
{
  --gModuleEntryCount;
  // Nothing is torn down here: the host releases instances and the factory by reference count.
  // An exit without a matching entry leaves the count negative and reports failure.
  return gModuleEntryCount >= 0;
}
