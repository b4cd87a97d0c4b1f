#pragma once

#include "framework/clap/ClapPresetDiscovery.h"
#include "tools/host/clap/ClapModule.h"

#include <optional>
#include <string>
#include <vector>

namespace velmora::host
{

struct IndexedLocation
{
  uint32_t flags = 0;
  std::string name;
  uint32_t kind = 0;
  std::optional<std::string> location;
};

struct IndexedPreset
{
  std::string name;
  std::string loadKey;
  std::vector<std::string> pluginIds;
  uint32_t flags = 0;
};

// The indexer record a host hands a provider; it records the locations the provider declares.
class ClapPresetIndexer
{
public:
  ClapPresetIndexer();
  ClapPresetIndexer(const ClapPresetIndexer&) = delete;
  ClapPresetIndexer& operator=(const ClapPresetIndexer&) = delete;

  clapabi::clap_preset_discovery_indexer& Record() { return mRecord; }
  const std::vector<IndexedLocation>& Locations() const { return mLocations; }
  // Declarations are refused when set, as a host that does not want a location would.
  void SetRefuseLocations(bool refuse) { mRefuseLocations = refuse; }

private:
  static bool DeclareFiletype(const clapabi::clap_preset_discovery_indexer* indexer,
                              const clapabi::clap_preset_discovery_filetype* filetype);
  static bool DeclareLocation(const clapabi::clap_preset_discovery_indexer* indexer,
                              const clapabi::clap_preset_discovery_location* location);
  static bool DeclareSoundpack(const clapabi::clap_preset_discovery_indexer* indexer,
                               const clapabi::clap_preset_discovery_soundpack* soundpack);
  static const void* GetExtension(const clapabi::clap_preset_discovery_indexer* indexer,
                                  const char* id);

  clapabi::clap_preset_discovery_indexer mRecord{};
  std::vector<IndexedLocation> mLocations;
  bool mRefuseLocations = false;
};

// The metadata receiver a host hands a provider; it collects the presets the provider reports.
class ClapMetadataReceiver
{
public:
  ClapMetadataReceiver();
  ClapMetadataReceiver(const ClapMetadataReceiver&) = delete;
  ClapMetadataReceiver& operator=(const ClapMetadataReceiver&) = delete;

  const clapabi::clap_preset_discovery_metadata_receiver* Record() const { return &mRecord; }
  const std::vector<IndexedPreset>& Presets() const { return mPresets; }

private:
  static ClapMetadataReceiver* Self(const clapabi::clap_preset_discovery_metadata_receiver* r);
  static void OnError(const clapabi::clap_preset_discovery_metadata_receiver* r, int32_t osError,
                      const char* message);
  static bool BeginPreset(const clapabi::clap_preset_discovery_metadata_receiver* r,
                          const char* name, const char* loadKey);
  static void AddPluginId(const clapabi::clap_preset_discovery_metadata_receiver* r,
                          const clapabi::clap_universal_plugin_id* id);
  static void SetFlags(const clapabi::clap_preset_discovery_metadata_receiver* r, uint32_t flags);

  clapabi::clap_preset_discovery_metadata_receiver mRecord{};
  std::vector<IndexedPreset> mPresets;
};

struct ProviderIndex
{
  std::string id;
  std::string name;
  std::string vendor;
  bool initialized = false;
  std::vector<IndexedLocation> locations;
  std::vector<IndexedPreset> presets;
};

// Runs every preset-discovery provider of an initialised module as a host's indexer does:
// create, init, read the metadata of every declared location, destroy.
std::vector<ProviderIndex> IndexPresets(const ClapModule& module);

} // namespace velmora::host
