// The plug-in factory: one plug-in, described while the entry is initialised.
#include "formats/clap/ClapFactories.h"
#include "formats/clap/ClapInstanceCreation.h"
#include "formats/clap/ClapModuleState.h"
#include "framework/platform/ModuleExport.h"

#include <cstring>

namespace velmora::clap
{

namespace
{

uint32_t GetPluginCount(const clapabi::clap_plugin_factory*)
{
  return 1;
}

const clapabi::clap_plugin_descriptor* GetPluginDescriptor(const clapabi::clap_plugin_factory*,
                                                           uint32_t index)
{
  ClapModuleState& state = ModuleState();
  const std::lock_guard<std::mutex> guard(state.entryLock);
  if (index != 0 || state.initCount <= 0)
    return nullptr;
  return state.descriptor.get();
}

const clapabi::clap_plugin* CreatePlugin(const clapabi::clap_plugin_factory*,
                                         const clapabi::clap_host* host, const char* pluginId)
{
  ClapModuleState& state = ModuleState();
  const std::lock_guard<std::mutex> guard(state.entryLock);
  if (!host || !pluginId || !state.descriptor || state.initCount <= 0 ||
      host->clap_version.major == 0 || std::strcmp(pluginId, state.descriptor->id) != 0)
    return nullptr;
  std::unique_ptr<iplug::IPlugCLAP> instance = MakeInstance(host, state.descriptor.get());
  // From here the host owns the object: its destroy call deletes it.
  return instance ? instance.release()->GetClapPlugin() : nullptr;
}

} // namespace

} // namespace velmora::clap

VELMORA_MODULE_EXPORT const clapabi::clap_plugin_factory clap_factory{
    &velmora::clap::GetPluginCount,
    &velmora::clap::GetPluginDescriptor,
    &velmora::clap::CreatePlugin,
};

namespace velmora::clap
{

const clapabi::clap_plugin_factory& PluginFactory()
{
  return clap_factory;
}

} // namespace velmora::clap
