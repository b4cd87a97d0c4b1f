#include "tools/host/RunLoop.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <vector>

namespace velmora::host
{

RunLoop::RunLoop() : mWakeFd(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

RunLoop::~RunLoop()
{
  if (mWakeFd >= 0)
    ::close(mWakeFd);
}

uint32_t RunLoop::AddTimer(uint32_t intervalMs, Callback onTick)
{
  if (intervalMs == 0 || !onTick)
    return 0;
  const uint32_t id = mNextTimerId++;
  const std::chrono::milliseconds interval(intervalMs);
  mTimers.emplace(id, Timer{interval, Clock::now() + interval, std::move(onTick)});
  return id;
}

bool RunLoop::RemoveTimer(uint32_t id)
{
  return mTimers.erase(id) > 0;
}

bool RunLoop::WatchFd(int fd, short events, FdCallback onReady)
{
  if (fd < 0 || !onReady)
    return false;
  return mFds.emplace(fd, Watch{events, false, std::move(onReady)}).second;
}

bool RunLoop::ChangeFd(int fd, short events)
{
  const auto it = mFds.find(fd);
  if (it == mFds.end())
    return false;
  it->second.events = events;
  it->second.quiet = false;
  return true;
}

bool RunLoop::UnwatchFd(int fd)
{
  return mFds.erase(fd) > 0;
}

void RunLoop::Wake()
{
  if (mWakeFd < 0)
    return;
  const uint64_t one = 1;
  // A full counter already means "wake up"; nothing to do when the write fails.
  [[maybe_unused]] const ssize_t written = ::write(mWakeFd, &one, sizeof(one));
}

void RunLoop::FireEveryTimer()
{
  // A callback may add or remove timers, itself included: fire those present at the start that
  // are still registered, each through a copy of its callback.
  std::vector<uint32_t> ids;
  for (const auto& [id, timer] : mTimers)
    ids.push_back(id);
  for (const uint32_t id : ids)
  {
    const auto it = mTimers.find(id);
    if (it == mTimers.end())
      continue;
    const Callback onTick = it->second.onTick;
    onTick();
  }
}

void RunLoop::FireDueTimers(Clock::time_point now)
{
  std::vector<uint32_t> due;
  for (const auto& [id, timer] : mTimers)
  {
    if (timer.due <= now)
      due.push_back(id);
  }
  for (const uint32_t id : due)
  {
    const auto it = mTimers.find(id);
    if (it == mTimers.end())
      continue;
    Timer& timer = it->second;
    // A late timer fires once and keeps its rhythm from now on rather than catching up.
    timer.due += timer.interval;
    if (timer.due <= now)
      timer.due = now + timer.interval;
    const Callback onTick = timer.onTick;
    onTick();
  }
}

void RunLoop::ServeReadyFds()
{
  PollAndServe(std::chrono::nanoseconds(0));
}

void RunLoop::PollAndServe(std::chrono::nanoseconds timeout)
{
  std::vector<pollfd> polled;
  polled.reserve(mFds.size() + 1);
  if (mWakeFd >= 0)
    polled.push_back({mWakeFd, POLLIN, 0});
  for (const auto& [fd, watch] : mFds)
  {
    if (!watch.quiet)
      polled.push_back({fd, watch.events, 0});
  }
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(timeout);
  const timespec wait{static_cast<time_t>(seconds.count()),
                      static_cast<long>((timeout - seconds).count())};
  if (::ppoll(polled.data(), polled.size(), &wait, nullptr) <= 0)
    return;
  for (const pollfd& p : polled)
  {
    if (p.revents == 0)
      continue;
    if (p.fd == mWakeFd)
    {
      uint64_t count = 0;
      [[maybe_unused]] const ssize_t got = ::read(mWakeFd, &count, sizeof(count));
      continue;
    }
    // An earlier callback of this pass may have removed or replaced the registration.
    const auto it = mFds.find(p.fd);
    if (it == mFds.end() || it->second.quiet)
      continue;
    if ((p.revents & (POLLIN | POLLOUT)) == 0)
      it->second.quiet = true;
    const FdCallback onReady = it->second.onReady;
    onReady(p.revents);
  }
}

void RunLoop::RunFor(std::chrono::milliseconds duration, const std::function<bool()>& done)
{
  const Clock::time_point end = Clock::now() + duration;
  while (true)
  {
    Clock::time_point now = Clock::now();
    FireDueTimers(now);
    if (mPassHook)
      mPassHook();
    if (done && done())
      return;
    now = Clock::now();
    if (now >= end)
      return;
    Clock::time_point wakeAt = end;
    for (const auto& [id, timer] : mTimers)
      wakeAt = std::min(wakeAt, timer.due);
    PollAndServe(std::max(std::chrono::nanoseconds(0), wakeAt - now));
  }
}

} // namespace velmora::host
