// The Linux module's entry and exit exports.
#include "formats/vst3/ModuleInitCount.h"
#include "framework/platform/ModuleExport.h"

VELMORA_MODULE_EXPORT bool ModuleEntry(void*)
{
  velmora::vst3::EnterModule();
  return true;
}

VELMORA_MODULE_EXPORT bool ModuleExit()
{
  return velmora::vst3::ExitModule();
}
