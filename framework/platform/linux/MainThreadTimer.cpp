#include "framework/platform/MainThreadTimer.h"

namespace iplug::platform
{

// Linux hosts own the main loop; plug-ins register their timers on it through the format's
// run-loop interfaces, so there is no timer of the plug-in's own.
std::unique_ptr<MainThreadTimer> StartMainThreadTimer(int, std::function<void()>)
{
  return nullptr;
}

} // namespace iplug::platform
