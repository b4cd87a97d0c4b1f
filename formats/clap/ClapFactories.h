#pragma once

#include "framework/clap/ClapCore.h"
#include "framework/clap/ClapPresetDiscovery.h"

namespace velmora::clap
{

// The plug-in factory record, exported as clap_factory as well.
const clapabi::clap_plugin_factory& PluginFactory();
const clapabi::clap_preset_discovery_factory& PresetDiscoveryFactory();

} // namespace velmora::clap
