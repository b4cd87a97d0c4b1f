#include "framework/clap/ClapPlatform.h"

namespace iplug::clap_platform
{

bool UsesHostRunLoop()
{
  return false;
}

const char* WindowApi()
{
  return clapabi::CLAP_WINDOW_API_WIN32;
}

void* ParentWindow(const clapabi::clap_window& window)
{
  return window.win32;
}

} // namespace iplug::clap_platform
