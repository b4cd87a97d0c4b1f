#include "formats/clap/ClapModuleState.h"

#include "plugin/VelmoraConfig.h"

namespace velmora::clap
{

namespace
{

constexpr const char* kFeatures[] = {"audio-effect", "distortion", "stereo", nullptr};

} // namespace

ClapModuleState& ModuleState()
{
  static ClapModuleState state;
  return state;
}

clapabi::clap_plugin_descriptor MakePluginDescriptor()
{
  clapabi::clap_plugin_descriptor descriptor{};
  descriptor.clap_version = clapabi::CLAP_VERSION;
  descriptor.id = kClapPluginId;
  descriptor.name = "Velmora";
  descriptor.vendor = "Corvane Audio";
  descriptor.url = kMakerUrl;
  descriptor.manual_url = "";
  descriptor.support_url = kMakerUrl;
  descriptor.version = "4.1.2";
  descriptor.description = "Velmora audio plug-in";
  descriptor.features = kFeatures;
  return descriptor;
}

} // namespace velmora::clap
