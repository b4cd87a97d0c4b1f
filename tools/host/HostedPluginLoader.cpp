#include "tools/host/HostedPluginLoader.h"

#include "tools/host/vst3/VST3HostedPlugin.h"
#include "tools/host/vst3/VST3Module.h"

#include <filesystem>
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

// '/', and on Windows also '\\'.
bool IsSeparator(char c)
{
  return c == '/' || c == static_cast<char>(std::filesystem::path::preferred_separator);
}

std::string_view WithoutTrailingSeparators(std::string_view path)
{
  while (path.size() > 1 && IsSeparator(path.back()))
    path.remove_suffix(1);
  return path;
}

// Whether a folder of the path is a bundle: "<name>.vst3" followed by a separator.
bool IsInsideVst3Bundle(std::string_view path)
{
  constexpr std::string_view kBundle = ".vst3";
  for (size_t at = path.find(kBundle); at != std::string_view::npos;
       at = path.find(kBundle, at + 1))
  {
    const size_t next = at + kBundle.size();
    if (next < path.size() && IsSeparator(path[next]))
      return true;
  }
  return false;
}

} // namespace

std::unique_ptr<HostedPlugin> LoadVst3Plugin(const std::string& path, std::string& error,
                                             HostLike hostLike)
{
  std::shared_ptr<vst3::VST3Module> module = vst3::VST3Module::Load(path, error);
  if (!module)
    return nullptr;
  return vst3::VST3HostedPlugin::Create(std::move(module), kHostName, error,
                                        hostLike == HostLike::Ardour
                                            ? vst3::RunLoopOffer::FrameAndHandler
                                            : vst3::RunLoopOffer::ContextAndFrame);
}

std::unique_ptr<HostedPlugin> LoadHostedPlugin(const std::string& path, std::string& error,
                                               HostLike hostLike)
{
  const std::string_view trimmed = WithoutTrailingSeparators(path);
  if (EndsWith(trimmed, ".vst3") || IsInsideVst3Bundle(trimmed))
    return LoadVst3Plugin(path, error, hostLike);
  if (EndsWith(trimmed, ".clap"))
  {
    if (hostLike == HostLike::Ardour)
    {
      error = "--host-like ardour hosts VST3 modules only";
      return nullptr;
    }
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
