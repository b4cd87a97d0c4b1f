// The module's entry record: reference-counted set-up and the factory lookup.
#include "formats/clap/ClapFactories.h"
#include "formats/clap/ClapModuleState.h"
#include "framework/platform/ModuleExport.h"

#include <cstring>
#include <new>

namespace velmora::clap
{

namespace
{

bool EntryInit(const char* pluginPath)
{
  if (!pluginPath || pluginPath[0] == '\0')
    return false;
  ClapModuleState& state = ModuleState();
  const std::lock_guard<std::mutex> guard(state.entryLock);
  if (state.initCount > 0)
  {
    if (state.pluginPath != pluginPath)
      return false;
    ++state.initCount;
    return true;
  }
  try
  {
    std::string path = pluginPath;
    auto descriptor = std::make_unique<clapabi::clap_plugin_descriptor>(MakePluginDescriptor());
    state.pluginPath = std::move(path);
    state.descriptor = std::move(descriptor);
    state.initCount = 1;
    return true;
  }
  catch (const std::bad_alloc&)
  {
    return false;
  }
}

void EntryDeinit()
{
  ClapModuleState& state = ModuleState();
  const std::lock_guard<std::mutex> guard(state.entryLock);
  if (state.initCount <= 0)
    return;
  if (--state.initCount == 0)
  {
    state.pluginPath.clear();
    state.descriptor.reset();
  }
}

const void* EntryGetFactory(const char* factoryId)
{
  ClapModuleState& state = ModuleState();
  const std::lock_guard<std::mutex> guard(state.entryLock);
  if (state.initCount <= 0 || !factoryId)
    return nullptr;
  if (std::strcmp(factoryId, clapabi::CLAP_PLUGIN_FACTORY_ID) == 0)
    return &PluginFactory();
  if (std::strcmp(factoryId, clapabi::CLAP_PRESET_DISCOVERY_FACTORY_ID) == 0 ||
      std::strcmp(factoryId, clapabi::CLAP_PRESET_DISCOVERY_FACTORY_ID_COMPAT) == 0)
    return &PresetDiscoveryFactory();
  return nullptr;
}

} // namespace

} // namespace velmora::clap

VELMORA_MODULE_EXPORT const clapabi::clap_plugin_entry clap_entry{
    clapabi::CLAP_VERSION,
    &velmora::clap::EntryInit,
    &velmora::clap::EntryDeinit,
    &velmora::clap::EntryGetFactory,
};
