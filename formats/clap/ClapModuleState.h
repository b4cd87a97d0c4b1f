#pragma once

#include "framework/clap/ClapCore.h"

#include <memory>
#include <mutex>
#include <string>

namespace velmora::clap
{

// What the module keeps between the host's entry calls. Every field is guarded by entryLock,
// which each entry, factory and provider-creation call takes; it is always taken before the
// instance creation lock.
struct ClapModuleState
{
  std::mutex entryLock;
  int initCount = 0;
  std::string pluginPath;
  std::unique_ptr<clapabi::clap_plugin_descriptor> descriptor;
};

ClapModuleState& ModuleState();

// The descriptor's constant fields; the record itself exists only while the entry is initialised.
clapabi::clap_plugin_descriptor MakePluginDescriptor();

} // namespace velmora::clap
