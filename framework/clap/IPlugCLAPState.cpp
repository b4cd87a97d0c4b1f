#include "framework/clap/IPlugCLAP.h"

#include "framework/clap/ClapPresetDiscovery.h"

#include <climits>
#include <cstring>

namespace iplug
{

using namespace clapabi;

namespace
{

constexpr int kReadBlockSize = 256;
// A state is a few hundred bytes at most; a stream that never ends must not keep us reading.
constexpr int kMaxStateSize = 1 << 20;
constexpr char kUnknownPresetMessage[] = "Unknown factory preset";

// A preset index in plain decimal: digits only, no sign, no leading zero except "0" itself.
bool ParsePresetKey(const char* key, int& index)
{
  if (!key || key[0] == '\0' || (key[0] == '0' && key[1] != '\0'))
    return false;
  long long value = 0;
  for (const char* p = key; *p; ++p)
  {
    if (*p < '0' || *p > '9')
      return false;
    value = value * 10 + (*p - '0');
    if (value > INT_MAX)
      return false;
  }
  index = static_cast<int>(value);
  return true;
}

} // namespace

bool IPlugCLAP::SaveState(const clap_ostream& stream) const
{
  IByteChunk chunk;
  if (!SerializeState(chunk))
    return false;
  const uint8_t* data = chunk.GetData();
  int64_t remaining = chunk.Size();
  while (remaining > 0)
  {
    if (!stream.write)
      return false;
    const int64_t written = stream.write(&stream, data, static_cast<uint64_t>(remaining));
    if (written < 1 || written > remaining)
      return false;
    data += written;
    remaining -= written;
  }
  return true;
}

bool IPlugCLAP::LoadState(const clap_istream& stream)
{
  if (!stream.read)
    return false;
  IByteChunk chunk;
  uint8_t buffer[kReadBlockSize];
  int64_t lastRead = 0;
  for (;;)
  {
    lastRead = stream.read(&stream, buffer, sizeof(buffer));
    if (lastRead <= 0)
      break;
    // A stream claiming more than it was offered cannot be trusted with the rest.
    if (lastRead > static_cast<int64_t>(sizeof(buffer)) || chunk.Size() > kMaxStateSize ||
        chunk.PutBytes(buffer, static_cast<int>(lastRead)) < 0)
      return false;
  }
  if (lastRead < 0 || chunk.Size() == 0)
    return false;
  if (UnserializeState(chunk, 0) != chunk.Size())
    return false;
  OnRestoreState();
  if (mHostParams && mHostParams->rescan)
    mHostParams->rescan(mHost, CLAP_PARAM_RESCAN_VALUES);
  return true;
}

bool IPlugCLAP::LoadPreset(uint32_t locationKind, const char* location, const char* loadKey)
{
  int index = -1;
  const bool loaded = locationKind == CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN && !location &&
                      ParsePresetKey(loadKey, index) && GetPresetInitialized(index) &&
                      RestorePreset(index);
  if (!loaded)
  {
    if (mHostPresetLoad && mHostPresetLoad->on_error)
      mHostPresetLoad->on_error(mHost, locationKind, location, loadKey, 0, kUnknownPresetMessage);
    return false;
  }
  if (mHostParams && mHostParams->rescan)
    mHostParams->rescan(mHost, CLAP_PARAM_RESCAN_VALUES);
  if (mHostPresetLoad && mHostPresetLoad->loaded)
    mHostPresetLoad->loaded(mHost, locationKind, location, loadKey);
  return true;
}

bool IPlugCLAP::StateSave(const clap_plugin* plugin, const clap_ostream* stream)
{
  IPlugCLAP* self = Self(plugin);
  if (!self || !stream)
    return false;
  self->ServiceMainThread();
  return self->SaveState(*stream);
}

bool IPlugCLAP::StateLoad(const clap_plugin* plugin, const clap_istream* stream)
{
  IPlugCLAP* self = Self(plugin);
  if (!self || !stream)
    return false;
  self->ServiceMainThread();
  return self->LoadState(*stream);
}

bool IPlugCLAP::PresetLoadFromLocation(const clap_plugin* plugin, uint32_t locationKind,
                                       const char* location, const char* loadKey)
{
  IPlugCLAP* self = Self(plugin);
  return self && self->LoadPreset(locationKind, location, loadKey);
}

const clap_plugin_state IPlugCLAP::kStateExt{&IPlugCLAP::StateSave, &IPlugCLAP::StateLoad};
const clap_plugin_preset_load IPlugCLAP::kPresetLoadExt{&IPlugCLAP::PresetLoadFromLocation};

} // namespace iplug
