#include "framework/clap/IPlugCLAP.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace iplug
{

using namespace clapabi;

namespace
{

const char* PortType(int channels)
{
  if (channels == 1)
    return CLAP_PORT_MONO;
  if (channels == 2)
    return CLAP_PORT_STEREO;
  return nullptr;
}

std::string ChannelsName(int channels)
{
  if (channels == 1)
    return "Mono";
  if (channels == 2)
    return "Stereo";
  return std::to_string(channels) + " channels";
}

// A configuration's display name, derived from its channel counts.
std::string ConfigName(const IOConfig& io)
{
  if (io.nIn == io.nOut)
    return ChannelsName(io.nOut);
  return ChannelsName(io.nIn) + " to " + ChannelsName(io.nOut);
}

void CopyName(char (&dst)[CLAP_NAME_SIZE], const std::string& src)
{
  std::snprintf(dst, sizeof(dst), "%s", src.c_str());
}

constexpr uint32_t kMainPortFlags = CLAP_AUDIO_PORT_IS_MAIN | CLAP_AUDIO_PORT_SUPPORTS_64BITS |
                                    CLAP_AUDIO_PORT_PREFERS_64BITS |
                                    CLAP_AUDIO_PORT_REQUIRES_COMMON_SAMPLE_SIZE;

} // namespace

void IPlugCLAP::SelectIOConfig(int idx)
{
  if (idx < 0 || idx >= NIOConfigs())
    return;
  mCurrentIOConfig = idx;
  const IOConfig& io = GetIOConfig(idx);
  SetChannelConnections(io.nIn, io.nOut);
}

int IPlugCLAP::InitialIOConfig() const
{
  int chosen = -1;
  for (int i = 0; i < NIOConfigs(); ++i)
  {
    if (GetIOConfig(i).nOut == 2)
      chosen = i;
  }
  const auto* trackInfo =
      static_cast<const clap_host_track_info*>(HostExtension(CLAP_EXT_TRACK_INFO));
  if (!trackInfo)
    trackInfo = static_cast<const clap_host_track_info*>(HostExtension(CLAP_EXT_TRACK_INFO_COMPAT));
  clap_track_info info{};
  if (trackInfo && trackInfo->get && trackInfo->get(mHost, &info) &&
      (info.flags & CLAP_TRACK_INFO_HAS_AUDIO_CHANNEL) != 0)
  {
    for (int i = 0; i < NIOConfigs(); ++i)
    {
      if (GetIOConfig(i).nOut == info.audio_channel_count)
        return i;
    }
  }
  return chosen >= 0 ? chosen : mCurrentIOConfig;
}

bool IPlugCLAP::FillPortInfo(bool isInput, clap_audio_port_info& info) const
{
  if (mCurrentIOConfig >= NIOConfigs())
    return false;
  const IOConfig& io = GetIOConfig(mCurrentIOConfig);
  const int channels = isInput ? io.nIn : io.nOut;
  if (channels <= 0)
    return false;
  info = clap_audio_port_info{};
  info.id = 0;
  CopyName(info.name, isInput ? "Input" : "Output");
  info.flags = kMainPortFlags;
  info.channel_count = static_cast<uint32_t>(channels);
  info.port_type = PortType(channels);
  info.in_place_pair = CLAP_INVALID_ID;
  return true;
}

uint32_t IPlugCLAP::PortsCount(const clap_plugin* plugin, bool isInput)
{
  const IPlugCLAP* self = Self(plugin);
  clap_audio_port_info info{};
  return self && self->FillPortInfo(isInput, info) ? 1 : 0;
}

bool IPlugCLAP::PortsGet(const clap_plugin* plugin, uint32_t index, bool isInput,
                         clap_audio_port_info* info)
{
  const IPlugCLAP* self = Self(plugin);
  return self && info && index == 0 && self->FillPortInfo(isInput, *info);
}

uint32_t IPlugCLAP::PortsConfigCount(const clap_plugin* plugin)
{
  const IPlugCLAP* self = Self(plugin);
  return self ? static_cast<uint32_t>(self->NIOConfigs()) : 0;
}

bool IPlugCLAP::PortsConfigGet(const clap_plugin* plugin, uint32_t index,
                               clap_audio_ports_config* config)
{
  const IPlugCLAP* self = Self(plugin);
  if (!self || !config || index >= static_cast<uint32_t>(self->NIOConfigs()))
    return false;
  const IOConfig& io = self->GetIOConfig(static_cast<int>(index));
  *config = clap_audio_ports_config{};
  config->id = index;
  CopyName(config->name, ConfigName(io));
  config->input_port_count = io.nIn > 0 ? 1 : 0;
  config->output_port_count = io.nOut > 0 ? 1 : 0;
  config->has_main_input = io.nIn > 0;
  config->main_input_channel_count = static_cast<uint32_t>(io.nIn);
  config->main_input_port_type = PortType(io.nIn);
  config->has_main_output = io.nOut > 0;
  config->main_output_channel_count = static_cast<uint32_t>(io.nOut);
  config->main_output_port_type = PortType(io.nOut);
  return true;
}

bool IPlugCLAP::PortsConfigSelect(const clap_plugin* plugin, clap_id configId)
{
  IPlugCLAP* self = Self(plugin);
  // The channel layout cannot change under running audio; hosts select while inactive.
  if (!self || self->mActive.load() || configId >= static_cast<uint32_t>(self->NIOConfigs()))
    return false;
  self->SelectIOConfig(static_cast<int>(configId));
  return true;
}

const clap_plugin_audio_ports IPlugCLAP::kAudioPortsExt{&IPlugCLAP::PortsCount,
                                                        &IPlugCLAP::PortsGet};
const clap_plugin_audio_ports_config IPlugCLAP::kAudioPortsConfigExt{
    &IPlugCLAP::PortsConfigCount, &IPlugCLAP::PortsConfigGet, &IPlugCLAP::PortsConfigSelect};

} // namespace iplug
