#pragma once

#include "framework/clap/ClapCore.h"
#include "framework/clap/ClapPresetDiscovery.h"

#include <string>
#include <vector>

namespace velmora::clap
{

// One preset-discovery provider: lists the plug-in's initialised presets to the indexer it was
// created for. The record's provider_data points at this object; destroy deletes it.
class ClapPresetProvider
{
public:
  static const clapabi::clap_preset_discovery_provider_descriptor kDescriptor;

  ClapPresetProvider(const clapabi::clap_preset_discovery_indexer* indexer,
                     const clapabi::clap_plugin_descriptor& pluginDescriptor);
  ClapPresetProvider(const ClapPresetProvider&) = delete;
  ClapPresetProvider& operator=(const ClapPresetProvider&) = delete;

  const clapabi::clap_preset_discovery_provider* GetRecord() const { return &mRecord; }

private:
  struct PresetEntry
  {
    std::string name;
    std::string loadKey;
  };

  static ClapPresetProvider* Self(const clapabi::clap_preset_discovery_provider* provider);
  static bool ProviderInit(const clapabi::clap_preset_discovery_provider* provider);
  static void ProviderDestroy(const clapabi::clap_preset_discovery_provider* provider);
  static bool ProviderGetMetadata(const clapabi::clap_preset_discovery_provider* provider,
                                  uint32_t locationKind, const char* location,
                                  const clapabi::clap_preset_discovery_metadata_receiver* receiver);
  static const void* ProviderGetExtension(const clapabi::clap_preset_discovery_provider* provider,
                                          const char* extensionId);

  bool Init();
  bool CollectPresets();
  bool GetMetadata(uint32_t locationKind, const char* location,
                   const clapabi::clap_preset_discovery_metadata_receiver& receiver) const;

  clapabi::clap_preset_discovery_provider mRecord{};
  const clapabi::clap_preset_discovery_indexer* mIndexer;
  // A copy, so that the provider stays usable whatever becomes of the module's descriptor.
  clapabi::clap_plugin_descriptor mPluginDescriptor;
  std::vector<PresetEntry> mPresets;
  bool mInitialized = false;
};

} // namespace velmora::clap
