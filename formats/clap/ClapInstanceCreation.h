#pragma once

#include "framework/clap/ClapCore.h"
#include "framework/clap/IPlugCLAP.h"

#include <memory>

namespace velmora::clap
{

// Constructs one plug-in object for a host under the process-wide instance creation lock; null
// when construction fails.
std::unique_ptr<iplug::IPlugCLAP> MakeInstance(const clapabi::clap_host* host,
                                               const clapabi::clap_plugin_descriptor* descriptor);

} // namespace velmora::clap
