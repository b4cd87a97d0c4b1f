// The preset-discovery factory: one provider, created for indexers while the entry is
// initialised.
#include "formats/clap/ClapFactories.h"
#include "formats/clap/ClapModuleState.h"
#include "formats/clap/ClapPresetProvider.h"

#include <cstring>
#include <new>

namespace velmora::clap
{

namespace
{

uint32_t ProviderCount(const clapabi::clap_preset_discovery_factory*)
{
  return 1;
}

const clapabi::clap_preset_discovery_provider_descriptor*
ProviderDescriptor(const clapabi::clap_preset_discovery_factory*, uint32_t index)
{
  return index == 0 ? &ClapPresetProvider::kDescriptor : nullptr;
}

const clapabi::clap_preset_discovery_provider*
CreateProvider(const clapabi::clap_preset_discovery_factory*,
               const clapabi::clap_preset_discovery_indexer* indexer, const char* providerId)
{
  ClapModuleState& state = ModuleState();
  const std::lock_guard<std::mutex> guard(state.entryLock);
  if (state.initCount <= 0 || !state.descriptor || !indexer || indexer->clap_version.major == 0 ||
      !indexer->declare_location || !providerId ||
      std::strcmp(providerId, state.descriptor->id) != 0)
    return nullptr;
  auto* provider = new (std::nothrow) ClapPresetProvider(indexer, *state.descriptor);
  return provider ? provider->GetRecord() : nullptr;
}

const clapabi::clap_preset_discovery_factory kPresetDiscoveryFactory{
    &ProviderCount,
    &ProviderDescriptor,
    &CreateProvider,
};

} // namespace

const clapabi::clap_preset_discovery_factory& PresetDiscoveryFactory()
{
  return kPresetDiscoveryFactory;
}

} // namespace velmora::clap
