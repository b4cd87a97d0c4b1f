// The command-line host's loader for CLAP modules.
#include "tools/host/HostedPluginLoader.h"
#include "tools/host/clap/ClapHostedPlugin.h"

namespace velmora::host
{

std::unique_ptr<HostedPlugin> LoadClapPlugin(const std::string& path, std::string& error)
{
  return ClapHostedPlugin::Load(path, error);
}

} // namespace velmora::host
