#pragma once

#include "framework/core/IHostRunLoop.h"

#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/gui/iplugview.h"

namespace iplug
{

// The editor's run-loop registrations on a VST3 host's Linux::IRunLoop.
class VST3HostRunLoop final : public IHostRunLoop
{
public:
  explicit VST3HostRunLoop(Steinberg::IPtr<Steinberg::Linux::IRunLoop> runLoop);

  std::unique_ptr<Registration> WatchFd(int fd, Callback onReadable) override;
  std::unique_ptr<Registration> StartTimer(int intervalMs, Callback onTick) override;

private:
  Steinberg::IPtr<Steinberg::Linux::IRunLoop> mRunLoop;
};

} // namespace iplug
