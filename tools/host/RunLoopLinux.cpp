// The Linux side of the run loop: an eventfd to wake it, and ppoll over it and the watched
// descriptors.
#include "tools/host/RunLoop.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <ctime>
#include <vector>

namespace velmora::host
{

namespace
{

short PollEvents(RunLoop::FdEvents events)
{
  short polled = 0;
  if (events & RunLoop::kFdReadable)
    polled |= POLLIN;
  if (events & RunLoop::kFdWritable)
    polled |= POLLOUT;
  return polled;
}

RunLoop::FdEvents ReadyEvents(short revents)
{
  RunLoop::FdEvents ready = 0;
  if (revents & POLLIN)
    ready |= RunLoop::kFdReadable;
  if (revents & POLLOUT)
    ready |= RunLoop::kFdWritable;
  if (revents & (POLLERR | POLLHUP | POLLNVAL))
    ready |= RunLoop::kFdFailed;
  return ready;
}

} // namespace

struct RunLoop::Platform
{
  struct Watch
  {
    FdEvents events = 0;
    // Set after a hang-up or error has been reported once, so a dead descriptor does not keep
    // the loop spinning; cleared when the registration changes.
    bool quiet = false;
    FdCallback onReady;
  };

  int wakeFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  std::map<int, Watch> fds;

  ~Platform()
  {
    if (wakeFd >= 0)
      ::close(wakeFd);
  }
};

bool RunLoop::WatchesFds()
{
  return true;
}

RunLoop::RunLoop() : mPlatform(std::make_unique<Platform>()) {}

RunLoop::~RunLoop() = default;

bool RunLoop::WatchFd(int fd, FdEvents events, FdCallback onReady)
{
  if (fd < 0 || !onReady)
    return false;
  return mPlatform->fds.emplace(fd, Platform::Watch{events, false, std::move(onReady)}).second;
}

bool RunLoop::ChangeFd(int fd, FdEvents events)
{
  const auto it = mPlatform->fds.find(fd);
  if (it == mPlatform->fds.end())
    return false;
  it->second.events = events;
  it->second.quiet = false;
  return true;
}

bool RunLoop::UnwatchFd(int fd)
{
  return mPlatform->fds.erase(fd) > 0;
}

size_t RunLoop::FdCount() const
{
  return mPlatform->fds.size();
}

void RunLoop::Wake()
{
  if (mPlatform->wakeFd < 0)
    return;
  const uint64_t one = 1;
  // A full counter already means "wake up"; nothing to do when the write fails.
  [[maybe_unused]] const ssize_t written = ::write(mPlatform->wakeFd, &one, sizeof(one));
}

void RunLoop::ServeReadyFds()
{
  WaitAndServe(std::chrono::nanoseconds(0));
}

// Plug-ins on Linux get everything through the host's descriptors and timers.
void RunLoop::DispatchMessages() {}

bool RunLoop::WaitAndServe(std::chrono::nanoseconds timeout)
{
  std::vector<pollfd> polled;
  polled.reserve(mPlatform->fds.size() + 1);
  if (mPlatform->wakeFd >= 0)
    polled.push_back({mPlatform->wakeFd, POLLIN, 0});
  for (const auto& [fd, watch] : mPlatform->fds)
  {
    if (!watch.quiet)
      polled.push_back({fd, PollEvents(watch.events), 0});
  }
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(timeout);
  const timespec wait{static_cast<time_t>(seconds.count()),
                      static_cast<long>((timeout - seconds).count())};
  if (::ppoll(polled.data(), polled.size(), &wait, nullptr) <= 0)
    return false;
  bool served = false;
  for (const pollfd& p : polled)
  {
    if (p.revents == 0)
      continue;
    if (p.fd == mPlatform->wakeFd)
    {
      uint64_t count = 0;
      [[maybe_unused]] const ssize_t got = ::read(mPlatform->wakeFd, &count, sizeof(count));
      continue;
    }
    // An earlier callback of this pass may have removed or replaced the registration.
    const auto it = mPlatform->fds.find(p.fd);
    if (it == mPlatform->fds.end() || it->second.quiet)
      continue;
    if ((p.revents & (POLLIN | POLLOUT)) == 0)
      it->second.quiet = true;
    const FdCallback onReady = it->second.onReady;
    onReady(ReadyEvents(p.revents));
    served = true;
  }
  return served;
}

} // namespace velmora::host
