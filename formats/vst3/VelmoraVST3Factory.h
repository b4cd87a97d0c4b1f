#pragma once

#include "pluginterfaces/base/ipluginbase.h"

namespace velmora
{

// The module's one factory: created with the factory and class records on the first call, and
// shared with one more reference by every later call. Null only when creation failed.
Steinberg::IPluginFactory* AcquireVST3Factory();

} // namespace velmora
