// The module's factory export and its initialisation count; the platform's entry and exit
// exports are beside it.
#include "formats/vst3/ModuleInitCount.h"
#include "formats/vst3/VelmoraVST3Factory.h"
#include "framework/platform/ModuleExport.h"

namespace velmora::vst3
{

namespace
{
int gModuleEntryCount = 0;
} // namespace

int EnterModule()
{
  return ++gModuleEntryCount;
}

bool ExitModule()
{
  --gModuleEntryCount;
  return gModuleEntryCount >= 0;
}

} // namespace velmora::vst3

VELMORA_MODULE_EXPORT Steinberg::IPluginFactory* PLUGIN_API GetPluginFactory()
{
  return velmora::AcquireVST3Factory();
}
