#include "tools/host/HostedPluginLoader.h"

#include "tools/host/vst3/VST3HostedPlugin.h"
#include "tools/host/vst3/VST3Module.h"

#include <string_view>

namespace velmora::host
{

namespace
{

constexpr const char* kHostName = "Velmora Host";

bool EndsWith(std::string_view text, std::string_view suffix)
{
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

std::string_view WithoutTrailingSlashes(std::string_view path)
{
  while (path.size() > 1 && path.back() == '/')
    path.remove_suffix(1);
  return path;
}

} // namespace

std::unique_ptr<HostedPlugin> LoadVst3Plugin(const std::string& path, std::string& error)
{
  std::shared_ptr<vst3::VST3Module> module = vst3::VST3Module::Load(path, error);
  if (!module)
    return nullptr;
  return vst3::VST3HostedPlugin::Create(std::move(module), kHostName, error);
}

std::unique_ptr<HostedPlugin> LoadHostedPlugin(const std::string& path, std::string& error)
{
  const std::string_view trimmed = WithoutTrailingSlashes(path);
  if (EndsWith(trimmed, ".vst3") || trimmed.find(".vst3/") != std::string_view::npos)
    return LoadVst3Plugin(path, error);
  if (EndsWith(trimmed, ".clap"))
  {
#if defined(VELMORA_HOST_HAVE_CLAP)
    return LoadClapPlugin(path, error);
#else
    error = "this build of the host has no CLAP support";
    return nullptr;
#endif
  }
  error =
      "cannot tell the plug-in format of " + path + " (expected a *.vst3 bundle or *.clap file)";
  return nullptr;
}

} // namespace velmora::host
