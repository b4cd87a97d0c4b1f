#include "framework/clap/ClapHostRunLoop.h"

namespace iplug
{

using namespace clapabi;

class ClapHostRunLoop::FdRegistration final : public IHostRunLoop::Registration
{
public:
  FdRegistration(ClapHostRunLoop& loop, int fd) : mLoop(loop), mAlive(loop.mAlive), mFd(fd) {}
  ~FdRegistration() override
  {
    if (*mAlive)
      mLoop.EndFd(mFd);
  }

private:
  ClapHostRunLoop& mLoop;
  std::shared_ptr<bool> mAlive;
  int mFd;
};

class ClapHostRunLoop::TimerRegistration final : public IHostRunLoop::Registration
{
public:
  TimerRegistration(ClapHostRunLoop& loop, clap_id timerId)
      : mLoop(loop), mAlive(loop.mAlive), mTimerId(timerId)
  {
  }
  ~TimerRegistration() override
  {
    if (*mAlive)
      mLoop.EndTimer(mTimerId);
  }

private:
  ClapHostRunLoop& mLoop;
  std::shared_ptr<bool> mAlive;
  clap_id mTimerId;
};

ClapHostRunLoop::ClapHostRunLoop(const clap_host* host, const clap_host_posix_fd_support* fdSupport,
                                 const clap_host_timer_support* timerSupport)
    : mHost(host), mFdSupport(fdSupport), mTimerSupport(timerSupport)
{
}

ClapHostRunLoop::~ClapHostRunLoop()
{
  *mAlive = false;
  while (!mFds.empty())
    EndFd(mFds.begin()->first);
  while (!mTimers.empty())
    EndTimer(mTimers.begin()->first);
}

std::unique_ptr<IHostRunLoop::Registration> ClapHostRunLoop::WatchFd(int fd, Callback onReadable)
{
  if (!mHost || !mFdSupport || !mFdSupport->register_fd || !mFdSupport->unregister_fd || fd < 0 ||
      mFds.count(fd) > 0)
    return nullptr;
  if (!mFdSupport->register_fd(mHost, fd, CLAP_POSIX_FD_READ))
    return nullptr;
  mFds[fd] = std::move(onReadable);
  return std::make_unique<FdRegistration>(*this, fd);
}

std::unique_ptr<IHostRunLoop::Registration> ClapHostRunLoop::StartTimer(int intervalMs,
                                                                        Callback onTick)
{
  if (!mHost || !mTimerSupport || !mTimerSupport->register_timer ||
      !mTimerSupport->unregister_timer || intervalMs <= 0)
    return nullptr;
  clap_id timerId = CLAP_INVALID_ID;
  if (!mTimerSupport->register_timer(mHost, static_cast<uint32_t>(intervalMs), &timerId) ||
      timerId == CLAP_INVALID_ID)
    return nullptr;
  mTimers[timerId] = std::move(onTick);
  return std::make_unique<TimerRegistration>(*this, timerId);
}

bool ClapHostRunLoop::DispatchFd(int fd)
{
  const auto found = mFds.find(fd);
  if (found == mFds.end())
    return false;
  // Copied: the callback may end its own registration.
  const Callback callback = found->second;
  if (callback)
    callback();
  return true;
}

bool ClapHostRunLoop::DispatchTimer(clap_id timerId)
{
  const auto found = mTimers.find(timerId);
  if (found == mTimers.end())
    return false;
  const Callback callback = found->second;
  if (callback)
    callback();
  return true;
}

void ClapHostRunLoop::EndFd(int fd)
{
  if (mFds.erase(fd) > 0)
    mFdSupport->unregister_fd(mHost, fd);
}

void ClapHostRunLoop::EndTimer(clap_id timerId)
{
  if (mTimers.erase(timerId) > 0)
    mTimerSupport->unregister_timer(mHost, timerId);
}

} // namespace iplug
