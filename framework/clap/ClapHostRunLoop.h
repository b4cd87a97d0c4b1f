#pragma once

#include "framework/clap/ClapCore.h"
#include "framework/clap/ClapExtensions.h"
#include "framework/core/IHostRunLoop.h"

#include <map>
#include <memory>

namespace iplug
{

// The editor's run-loop registrations on a CLAP host's "clap.posix-fd-support" and
// "clap.timer-support". The plug-in's on_fd and on_timer callbacks are handed to Dispatch*.
class ClapHostRunLoop final : public IHostRunLoop
{
public:
  ClapHostRunLoop(const clapabi::clap_host* host,
                  const clapabi::clap_host_posix_fd_support* fdSupport,
                  const clapabi::clap_host_timer_support* timerSupport);
  ~ClapHostRunLoop() override;
  ClapHostRunLoop(const ClapHostRunLoop&) = delete;
  ClapHostRunLoop& operator=(const ClapHostRunLoop&) = delete;

  std::unique_ptr<Registration> WatchFd(int fd, Callback onReadable) override;
  std::unique_ptr<Registration> StartTimer(int intervalMs, Callback onTick) override;

  // True when the descriptor or timer belongs to a registration made here.
  bool DispatchFd(int fd);
  bool DispatchTimer(clapabi::clap_id timerId);

private:
  class FdRegistration;
  class TimerRegistration;
  void EndFd(int fd);
  void EndTimer(clapabi::clap_id timerId);

  const clapabi::clap_host* mHost;
  const clapabi::clap_host_posix_fd_support* mFdSupport;
  const clapabi::clap_host_timer_support* mTimerSupport;
  // Shared with the registrations, which may outlive nothing but must not touch a dead loop.
  std::shared_ptr<bool> mAlive = std::make_shared<bool>(true);
  std::map<int, Callback> mFds;
  std::map<clapabi::clap_id, Callback> mTimers;
};

} // namespace iplug
