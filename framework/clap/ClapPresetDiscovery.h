#pragma once

// The CLAP 1.2.10 preset-discovery interface: the factory a module offers, its providers, and
// the indexer and metadata receiver a host hands them.

#include "framework/clap/ClapCore.h"

namespace clapabi
{

inline constexpr char CLAP_PRESET_DISCOVERY_FACTORY_ID[] = "clap.preset-discovery-factory/2";
inline constexpr char CLAP_PRESET_DISCOVERY_FACTORY_ID_COMPAT[] =
    "clap.preset-discovery-factory/draft-2";

enum : uint32_t
{
  CLAP_PRESET_DISCOVERY_LOCATION_FILE = 0,
  CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN = 1,
};

enum : uint32_t
{
  CLAP_PRESET_DISCOVERY_IS_FACTORY_CONTENT = 1 << 0,
  CLAP_PRESET_DISCOVERY_IS_USER_CONTENT = 1 << 1,
  CLAP_PRESET_DISCOVERY_IS_DEMO_CONTENT = 1 << 2,
  CLAP_PRESET_DISCOVERY_IS_FAVORITE = 1 << 3,
};

using clap_timestamp = uint64_t;

struct clap_universal_plugin_id
{
  const char* abi;
  const char* id;
};

struct clap_preset_discovery_metadata_receiver
{
  void* receiver_data;
  void (*on_error)(const clap_preset_discovery_metadata_receiver* receiver, int32_t os_error,
                   const char* error_message);
  bool (*begin_preset)(const clap_preset_discovery_metadata_receiver* receiver, const char* name,
                       const char* load_key);
  void (*add_plugin_id)(const clap_preset_discovery_metadata_receiver* receiver,
                        const clap_universal_plugin_id* plugin_id);
  void (*set_soundpack_id)(const clap_preset_discovery_metadata_receiver* receiver,
                           const char* soundpack_id);
  void (*set_flags)(const clap_preset_discovery_metadata_receiver* receiver, uint32_t flags);
  void (*add_creator)(const clap_preset_discovery_metadata_receiver* receiver, const char* creator);
  void (*set_description)(const clap_preset_discovery_metadata_receiver* receiver,
                          const char* description);
  void (*set_timestamps)(const clap_preset_discovery_metadata_receiver* receiver,
                         clap_timestamp creation_time, clap_timestamp modification_time);
  void (*add_feature)(const clap_preset_discovery_metadata_receiver* receiver, const char* feature);
  void (*add_extra_info)(const clap_preset_discovery_metadata_receiver* receiver, const char* key,
                         const char* value);
};

struct clap_preset_discovery_filetype
{
  const char* name;
  const char* description;
  const char* file_extension;
};

struct clap_preset_discovery_location
{
  uint32_t flags;
  const char* name;
  uint32_t kind;
  const char* location;
};

struct clap_preset_discovery_soundpack
{
  uint32_t flags;
  const char* id;
  const char* name;
  const char* description;
  const char* homepage_url;
  const char* vendor;
  const char* image_path;
  clap_timestamp release_timestamp;
};

struct clap_preset_discovery_provider_descriptor
{
  clap_version_t clap_version;
  const char* id;
  const char* name;
  const char* vendor;
};

struct clap_preset_discovery_provider
{
  const clap_preset_discovery_provider_descriptor* desc;
  void* provider_data;
  bool (*init)(const clap_preset_discovery_provider* provider);
  void (*destroy)(const clap_preset_discovery_provider* provider);
  bool (*get_metadata)(const clap_preset_discovery_provider* provider, uint32_t location_kind,
                       const char* location,
                       const clap_preset_discovery_metadata_receiver* metadata_receiver);
  const void* (*get_extension)(const clap_preset_discovery_provider* provider,
                               const char* extension_id);
};

struct clap_preset_discovery_indexer
{
  clap_version_t clap_version;
  const char* name;
  const char* vendor;
  const char* url;
  const char* version;
  void* indexer_data;
  bool (*declare_filetype)(const clap_preset_discovery_indexer* indexer,
                           const clap_preset_discovery_filetype* filetype);
  bool (*declare_location)(const clap_preset_discovery_indexer* indexer,
                           const clap_preset_discovery_location* location);
  bool (*declare_soundpack)(const clap_preset_discovery_indexer* indexer,
                            const clap_preset_discovery_soundpack* soundpack);
  const void* (*get_extension)(const clap_preset_discovery_indexer* indexer,
                               const char* extension_id);
};

struct clap_preset_discovery_factory
{
  uint32_t (*count)(const clap_preset_discovery_factory* factory);
  const clap_preset_discovery_provider_descriptor* (*get_descriptor)(
      const clap_preset_discovery_factory* factory, uint32_t index);
  const clap_preset_discovery_provider* (*create)(const clap_preset_discovery_factory* factory,
                                                  const clap_preset_discovery_indexer* indexer,
                                                  const char* provider_id);
};

} // namespace clapabi
