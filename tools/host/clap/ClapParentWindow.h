#pragma once

#include "tools/host/HostedPlugin.h"

#include "framework/clap/ClapExtensions.h"

namespace velmora::host
{

// The host's window as a CLAP plug-in is given its parent, in this platform's windowing API.
clapabi::clap_window ClapParentWindow(NativeWindow parent);

} // namespace velmora::host
