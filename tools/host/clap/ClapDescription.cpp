// What a CLAP host sees of the instance before processing, as JSON.
#include "tools/host/clap/ClapHostedPlugin.h"
#include "tools/host/clap/ClapPresetIndex.h"

#include "framework/clap/ClapPresetDiscovery.h"

#include <cstdio>
#include <sstream>

namespace velmora::host
{

using namespace clapabi;

namespace
{

std::string Quote(const char* text)
{
  if (!text)
    return "null";
  std::string out = "\"";
  for (const char* p = text; *p; ++p)
  {
    const auto c = static_cast<unsigned char>(*p);
    if (c == '"' || c == '\\')
    {
      out += '\\';
      out += static_cast<char>(c);
    }
    else if (c < 0x20)
    {
      char escaped[8];
      std::snprintf(escaped, sizeof(escaped), "\\u%04x", c);
      out += escaped;
    }
    else
      out += static_cast<char>(c);
  }
  return out + "\"";
}

std::string Quote(const std::string& text)
{
  return Quote(text.c_str());
}

std::string Number(double value)
{
  char text[32];
  std::snprintf(text, sizeof(text), "%.17g", value);
  return text;
}

// Every extension a CLAP host may ask an effect for, and whether this instance answers.
constexpr const char* kExtensionsAsked[] = {
    CLAP_EXT_AUDIO_PORTS,   CLAP_EXT_AUDIO_PORTS_CONFIG,
    CLAP_EXT_PARAMS,        CLAP_EXT_LATENCY,
    CLAP_EXT_TAIL,          CLAP_EXT_STATE,
    CLAP_EXT_PRESET_LOAD,   CLAP_EXT_PRESET_LOAD_COMPAT,
    CLAP_EXT_RENDER,        CLAP_EXT_GUI,
    CLAP_EXT_TIMER_SUPPORT, CLAP_EXT_POSIX_FD_SUPPORT,
    CLAP_EXT_THREAD_CHECK,  CLAP_EXT_LOG,
    CLAP_EXT_TRACK_INFO,
};

void DescribePorts(std::ostringstream& out, const clap_plugin* plugin,
                   const clap_plugin_audio_ports* ports, bool isInput)
{
  out << "[";
  const uint32_t count = ports ? ports->count(plugin, isInput) : 0;
  for (uint32_t i = 0; i < count; ++i)
  {
    clap_audio_port_info info{};
    if (!ports->get(plugin, i, isInput, &info))
      continue;
    out << (i ? ", " : "") << "{\"id\": " << info.id << ", \"name\": " << Quote(info.name)
        << ", \"flags\": " << info.flags << ", \"channels\": " << info.channel_count
        << ", \"type\": " << Quote(info.port_type) << "}";
  }
  out << "]";
}

} // namespace

std::string ClapHostedPlugin::DescribeAsJson()
{
  std::ostringstream out;
  const clap_plugin_descriptor* d = mPlugin->desc;
  out << "{\n  \"format\": \"clap\",\n  \"module\": " << Quote(mModule->Path()) << ",\n";
  if (d)
  {
    out << "  \"descriptor\": {\"clap_version\": \"" << d->clap_version.major << "."
        << d->clap_version.minor << "." << d->clap_version.revision
        << "\", \"id\": " << Quote(d->id) << ", \"name\": " << Quote(d->name)
        << ", \"vendor\": " << Quote(d->vendor) << ", \"url\": " << Quote(d->url)
        << ", \"manual_url\": " << Quote(d->manual_url)
        << ", \"support_url\": " << Quote(d->support_url) << ", \"version\": " << Quote(d->version)
        << ", \"description\": " << Quote(d->description) << ", \"features\": [";
    for (int i = 0; d->features && d->features[i]; ++i)
      out << (i ? ", " : "") << Quote(d->features[i]);
    out << "]},\n";
  }

  out << "  \"extensions\": {";
  bool first = true;
  for (const char* id : kExtensionsAsked)
  {
    out << (first ? "" : ", ") << Quote(id) << ": "
        << (mPlugin->get_extension(mPlugin, id) ? "true" : "false");
    first = false;
  }
  out << "},\n";

  const auto* ports = Extension<clap_plugin_audio_ports>(CLAP_EXT_AUDIO_PORTS);
  out << "  \"audio_ports\": {\"inputs\": ";
  DescribePorts(out, mPlugin, ports, true);
  out << ", \"outputs\": ";
  DescribePorts(out, mPlugin, ports, false);
  out << "},\n  \"audio_port_configs\": [";
  if (const auto* configs = Extension<clap_plugin_audio_ports_config>(CLAP_EXT_AUDIO_PORTS_CONFIG))
  {
    const uint32_t count = configs->count(mPlugin);
    for (uint32_t i = 0; i < count; ++i)
    {
      clap_audio_ports_config config{};
      if (!configs->get(mPlugin, i, &config))
        continue;
      out << (i ? ", " : "") << "{\"id\": " << config.id << ", \"name\": " << Quote(config.name)
          << ", \"inputs\": " << config.main_input_channel_count
          << ", \"outputs\": " << config.main_output_channel_count << "}";
    }
  }
  out << "],\n  \"parameters\": [";
  const auto* params = Extension<clap_plugin_params>(CLAP_EXT_PARAMS);
  const std::vector<HostParamInfo> infos = Parameters();
  for (size_t i = 0; i < infos.size(); ++i)
  {
    const HostParamInfo& p = infos[i];
    char text[256] = "";
    if (params)
      params->value_to_text(mPlugin, p.id, p.defaultValue, text, sizeof(text));
    out << (i ? "," : "") << "\n    {\"id\": " << p.id << ", \"name\": " << Quote(p.name)
        << ", \"min\": " << Number(p.minValue) << ", \"max\": " << Number(p.maxValue)
        << ", \"default\": " << Number(p.defaultValue) << ", \"default_text\": " << Quote(text)
        << ", \"flags\": " << p.flags << "}";
  }
  out << "\n  ],\n  \"latency\": " << Latency() << ",\n";
  const auto* tail = Extension<clap_plugin_tail>(CLAP_EXT_TAIL);
  out << "  \"tail\": " << (tail ? tail->get(mPlugin) : 0) << ",\n  \"preset_providers\": [";
  const std::vector<ProviderIndex> providers = IndexPresets(*mModule);
  for (size_t i = 0; i < providers.size(); ++i)
  {
    const ProviderIndex& p = providers[i];
    out << (i ? ", " : "") << "{\"id\": " << Quote(p.id) << ", \"name\": " << Quote(p.name)
        << ", \"vendor\": " << Quote(p.vendor)
        << ", \"initialized\": " << (p.initialized ? "true" : "false") << ", \"locations\": [";
    for (size_t j = 0; j < p.locations.size(); ++j)
      out << (j ? ", " : "") << Quote(p.locations[j].name);
    out << "], \"presets\": [";
    for (size_t j = 0; j < p.presets.size(); ++j)
      out << (j ? ", " : "") << "{\"name\": " << Quote(p.presets[j].name)
          << ", \"load_key\": " << Quote(p.presets[j].loadKey) << "}";
    out << "]}";
  }
  out << "]\n}\n";
  return out.str();
}

} // namespace velmora::host
