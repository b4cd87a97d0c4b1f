#include "tools/host/HostCommandSteps.h"

#include "tools/DemoSignal.h"
#include "tools/host/HostedPluginLoader.h"

#include <algorithm>
#include <cstdio>

namespace velmora::host
{

int Fail(const std::string& message)
{
  std::fprintf(stderr, "velmora-host: %s\n", message.c_str());
  return 1;
}

std::unique_ptr<HostedPlugin> Prepare(const std::vector<std::string>& args, size_t positionals,
                                      HostOptions& options, std::string& error)
{
  if (!ParseHostOptions(args, options, error))
    return nullptr;
  if (options.positional.size() != positionals)
  {
    error = "expected " + std::to_string(positionals) + " argument(s) before the options, got " +
            std::to_string(options.positional.size());
    return nullptr;
  }
  return LoadHostedPlugin(options.positional[0], error, options.hostLike);
}

bool ResolveSettings(HostedPlugin& plugin, const std::vector<std::string>& settings,
                     std::vector<HostParamChange>& changes, std::string& error)
{
  const std::vector<HostParamInfo> params = plugin.Parameters();
  for (const std::string& setting : settings)
  {
    const size_t eq = setting.find('=');
    const std::string name = setting.substr(0, eq);
    const std::string text = setting.substr(eq + 1);
    const auto param = std::find_if(params.begin(), params.end(),
                                    [&](const HostParamInfo& p) { return p.name == name; });
    if (param == params.end())
    {
      error = "the effect has no parameter named \"" + name + "\"";
      return false;
    }
    double value = 0.0;
    if (!plugin.ValueFromText(param->id, text, value))
    {
      error = "the effect does not accept \"" + text + "\" for " + name;
      return false;
    }
    changes.push_back({param->id, 0, value});
  }
  return true;
}

bool ApplyOnMainThread(HostedPlugin& plugin, const std::vector<HostParamChange>& changes,
                       std::string& error)
{
  for (const HostParamChange& change : changes)
  {
    if (!plugin.SetParameter(change.id, change.value))
    {
      error = "the effect refused a value for parameter " + std::to_string(change.id);
      return false;
    }
  }
  return true;
}

bool LoadInput(const HostOptions& options, AudioData& audio, std::string& error)
{
  if (options.inputPath.empty())
  {
    const tools::StereoBuffer demo =
        tools::MakeDemoSignal(options.sampleRate.value_or(48000.0), options.seconds);
    audio.sampleRate = demo.sampleRate;
    audio.channels = {demo.left, demo.right};
    return true;
  }
  if (!ReadAudioFile(options.inputPath, audio, error))
    return false;
  if (options.sampleRate && *options.sampleRate != audio.sampleRate)
  {
    error = options.inputPath + " is at " + std::to_string(audio.sampleRate) +
            " Hz; the host does not resample";
    return false;
  }
  if (audio.channels.size() > 2)
  {
    error = options.inputPath + " has " + std::to_string(audio.channels.size()) +
            " channels; the effect takes mono or stereo";
    return false;
  }
  return true;
}

} // namespace velmora::host
