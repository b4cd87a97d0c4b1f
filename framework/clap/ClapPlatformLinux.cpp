#include "framework/clap/ClapPlatform.h"

namespace iplug::clap_platform
{

bool UsesHostRunLoop()
{
  return true;
}

const char* WindowApi()
{
  return clapabi::CLAP_WINDOW_API_X11;
}

void* ParentWindow(const clapabi::clap_window& window)
{
  // The window id itself is the handle.
  return reinterpret_cast<void*>(static_cast<uintptr_t>(window.x11));
}

} // namespace iplug::clap_platform
