// Windows hosts give VST3 plug-ins no run-loop interface: they run their timers as window
// messages, which the context's loop dispatches.
#include "tools/host/vst3/VST3HostContext.h"

namespace velmora::host::vst3
{

Steinberg::IPtr<VST3HostContext> VST3HostContext::Create(std::string hostName, RunLoopOffer offer)
{
  return Steinberg::owned(new VST3HostContext(std::move(hostName), offer));
}

} // namespace velmora::host::vst3
