#include "tools/host/clap/ClapPresetIndex.h"

namespace velmora::host
{

using namespace clapabi;

namespace
{

std::string Text(const char* s)
{
  return s ? s : "";
}

} // namespace

ClapPresetIndexer::ClapPresetIndexer()
{
  mRecord.clap_version = CLAP_VERSION;
  mRecord.name = "velmora-host";
  mRecord.vendor = "Corvane Audio";
  mRecord.url = "";
  mRecord.version = "1.0.0";
  mRecord.indexer_data = this;
  mRecord.declare_filetype = &ClapPresetIndexer::DeclareFiletype;
  mRecord.declare_location = &ClapPresetIndexer::DeclareLocation;
  mRecord.declare_soundpack = &ClapPresetIndexer::DeclareSoundpack;
  mRecord.get_extension = &ClapPresetIndexer::GetExtension;
}

bool ClapPresetIndexer::DeclareFiletype(const clap_preset_discovery_indexer*,
                                        const clap_preset_discovery_filetype* filetype)
{
  return filetype != nullptr;
}

bool ClapPresetIndexer::DeclareLocation(const clap_preset_discovery_indexer* indexer,
                                        const clap_preset_discovery_location* location)
{
  auto* self = static_cast<ClapPresetIndexer*>(indexer->indexer_data);
  if (!location || self->mRefuseLocations)
    return false;
  IndexedLocation entry;
  entry.flags = location->flags;
  entry.name = Text(location->name);
  entry.kind = location->kind;
  if (location->location)
    entry.location = location->location;
  self->mLocations.push_back(std::move(entry));
  return true;
}

bool ClapPresetIndexer::DeclareSoundpack(const clap_preset_discovery_indexer*,
                                         const clap_preset_discovery_soundpack* soundpack)
{
  return soundpack != nullptr;
}

const void* ClapPresetIndexer::GetExtension(const clap_preset_discovery_indexer*, const char*)
{
  return nullptr;
}

ClapMetadataReceiver::ClapMetadataReceiver()
{
  mRecord.receiver_data = this;
  mRecord.on_error = &ClapMetadataReceiver::OnError;
  mRecord.begin_preset = &ClapMetadataReceiver::BeginPreset;
  mRecord.add_plugin_id = &ClapMetadataReceiver::AddPluginId;
  mRecord.set_flags = &ClapMetadataReceiver::SetFlags;
}

ClapMetadataReceiver* ClapMetadataReceiver::Self(const clap_preset_discovery_metadata_receiver* r)
{
  return static_cast<ClapMetadataReceiver*>(r->receiver_data);
}

void ClapMetadataReceiver::OnError(const clap_preset_discovery_metadata_receiver*, int32_t,
                                   const char*)
{
}

bool ClapMetadataReceiver::BeginPreset(const clap_preset_discovery_metadata_receiver* r,
                                       const char* name, const char* loadKey)
{
  Self(r)->mPresets.push_back({Text(name), Text(loadKey), {}, 0});
  return true;
}

void ClapMetadataReceiver::AddPluginId(const clap_preset_discovery_metadata_receiver* r,
                                       const clap_universal_plugin_id* id)
{
  ClapMetadataReceiver* self = Self(r);
  if (id && !self->mPresets.empty())
    self->mPresets.back().pluginIds.push_back(Text(id->abi) + ":" + Text(id->id));
}

void ClapMetadataReceiver::SetFlags(const clap_preset_discovery_metadata_receiver* r,
                                    uint32_t flags)
{
  ClapMetadataReceiver* self = Self(r);
  if (!self->mPresets.empty())
    self->mPresets.back().flags = flags;
}

std::vector<ProviderIndex> IndexPresets(const ClapModule& module)
{
  std::vector<ProviderIndex> result;
  auto* factory = static_cast<const clap_preset_discovery_factory*>(
      module.GetFactory(CLAP_PRESET_DISCOVERY_FACTORY_ID));
  if (!factory)
    factory = static_cast<const clap_preset_discovery_factory*>(
        module.GetFactory(CLAP_PRESET_DISCOVERY_FACTORY_ID_COMPAT));
  if (!factory)
    return result;
  const uint32_t count = factory->count(factory);
  for (uint32_t i = 0; i < count; ++i)
  {
    const clap_preset_discovery_provider_descriptor* desc = factory->get_descriptor(factory, i);
    if (!desc || !desc->id)
      continue;
    ProviderIndex index;
    index.id = desc->id;
    index.name = Text(desc->name);
    index.vendor = Text(desc->vendor);
    ClapPresetIndexer indexer;
    const clap_preset_discovery_provider* provider =
        factory->create(factory, &indexer.Record(), desc->id);
    if (provider)
    {
      index.initialized = provider->init(provider);
      if (index.initialized)
      {
        for (const IndexedLocation& location : indexer.Locations())
        {
          ClapMetadataReceiver receiver;
          if (provider->get_metadata(provider, location.kind,
                                     location.location ? location.location->c_str() : nullptr,
                                     receiver.Record()))
            index.presets.insert(index.presets.end(), receiver.Presets().begin(),
                                 receiver.Presets().end());
        }
      }
      index.locations = indexer.Locations();
      provider->destroy(provider);
    }
    result.push_back(std::move(index));
  }
  return result;
}

} // namespace velmora::host
