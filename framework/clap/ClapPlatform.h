#pragma once

namespace iplug::clap_platform
{

// Whether hosts on this platform serve the plug-in's main-thread work on their run loop
// ("clap.timer-support" and "clap.posix-fd-support", as Linux hosts do) rather than the
// platform dispatching the plug-in's own timers (Windows).
bool UsesHostRunLoop();
// Whether the editor can be offered ("clap.gui"); Windows has no editor window yet.
bool OffersGui();

} // namespace iplug::clap_platform
