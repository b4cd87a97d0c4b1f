#include "formats/clap/ClapPresetProvider.h"

#include "formats/clap/ClapInstanceCreation.h"
#include "plugin/VelmoraConfig.h"

#include <exception>
#include <string>

namespace velmora::clap
{

using namespace clapabi;

namespace
{

const void* NoHostExtension(const clap_host*, const char*)
{
  return nullptr;
}

void IgnoreHostRequest(const clap_host*) {}

// The host a temporary instance sees while the provider reads its preset table.
const clap_host kDiscoveryHost{
    CLAP_VERSION,
    nullptr,
    "Preset discovery",
    "",
    "",
    "1.0.0",
    &NoHostExtension,
    &IgnoreHostRequest,
    &IgnoreHostRequest,
    &IgnoreHostRequest,
};

} // namespace

const clap_preset_discovery_provider_descriptor ClapPresetProvider::kDescriptor{
    CLAP_VERSION,
    kClapPluginId,
    "Velmora Factory Presets",
    "Corvane Audio",
};

ClapPresetProvider::ClapPresetProvider(const clap_preset_discovery_indexer* indexer,
                                       const clap_plugin_descriptor& pluginDescriptor)
    : mIndexer(indexer), mPluginDescriptor(pluginDescriptor)
{
  mRecord.desc = &kDescriptor;
  mRecord.provider_data = this;
  mRecord.init = &ClapPresetProvider::ProviderInit;
  mRecord.destroy = &ClapPresetProvider::ProviderDestroy;
  mRecord.get_metadata = &ClapPresetProvider::ProviderGetMetadata;
  mRecord.get_extension = &ClapPresetProvider::ProviderGetExtension;
}

ClapPresetProvider* ClapPresetProvider::Self(const clap_preset_discovery_provider* provider)
{
  return provider ? static_cast<ClapPresetProvider*>(provider->provider_data) : nullptr;
}

bool ClapPresetProvider::ProviderInit(const clap_preset_discovery_provider* provider)
{
  ClapPresetProvider* self = Self(provider);
  return self && self->Init();
}

void ClapPresetProvider::ProviderDestroy(const clap_preset_discovery_provider* provider)
{
  delete Self(provider);
}

bool ClapPresetProvider::ProviderGetMetadata(
    const clap_preset_discovery_provider* provider, uint32_t locationKind, const char* location,
    const clap_preset_discovery_metadata_receiver* receiver)
{
  const ClapPresetProvider* self = Self(provider);
  return self && receiver && self->GetMetadata(locationKind, location, *receiver);
}

const void* ClapPresetProvider::ProviderGetExtension(const clap_preset_discovery_provider*,
                                                     const char*)
{
  return nullptr;
}

bool ClapPresetProvider::CollectPresets()
{
  std::unique_ptr<iplug::IPlugCLAP> instance = MakeInstance(&kDiscoveryHost, &mPluginDescriptor);
  if (!instance)
    return false;
  mPresets.clear();
  for (int i = 0; i < instance->NPresets(); ++i)
  {
    if (instance->GetPresetInitialized(i))
      mPresets.push_back({instance->GetPresetName(i), std::to_string(i)});
  }
  return true;
}

bool ClapPresetProvider::Init()
{
  if (mInitialized)
    return true;
  try
  {
    if (!CollectPresets())
      return false;
    if (!mPresets.empty())
    {
      const clap_preset_discovery_location location{CLAP_PRESET_DISCOVERY_IS_FACTORY_CONTENT,
                                                    "Factory Presets",
                                                    CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr};
      if (!mIndexer->declare_location || !mIndexer->declare_location(mIndexer, &location))
        return false;
    }
    mInitialized = true;
    return true;
  }
  catch (const std::exception&)
  {
    return false;
  }
}

bool ClapPresetProvider::GetMetadata(uint32_t locationKind, const char* location,
                                     const clap_preset_discovery_metadata_receiver& receiver) const
{
  if (!mInitialized || locationKind != CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN || location ||
      !receiver.begin_preset || !receiver.add_plugin_id)
    return false;
  const clap_universal_plugin_id pluginId{"clap", mPluginDescriptor.id};
  for (const PresetEntry& preset : mPresets)
  {
    if (!receiver.begin_preset(&receiver, preset.name.c_str(), preset.loadKey.c_str()))
      return false;
    receiver.add_plugin_id(&receiver, &pluginId);
    if (receiver.set_flags)
      receiver.set_flags(&receiver, CLAP_PRESET_DISCOVERY_IS_FACTORY_CONTENT);
  }
  return true;
}

} // namespace velmora::clap
