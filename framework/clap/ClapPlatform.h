#pragma once

#include "framework/clap/ClapExtensions.h"

namespace iplug::clap_platform
{

// Whether hosts on this platform serve the plug-in's main-thread work on their run loop
// ("clap.timer-support" and "clap.posix-fd-support", as Linux hosts do) rather than the
// platform dispatching the plug-in's own timers and window messages (Windows).
bool UsesHostRunLoop();
// The one windowing API the editor embeds in: "x11" on Linux, "win32" on Windows.
const char* WindowApi();
// The host's window as the editor's parent handle; null when the record names none.
void* ParentWindow(const clapabi::clap_window& window);

} // namespace iplug::clap_platform
