#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>

namespace velmora::host
{

// The host's main-thread loop as a Linux host runs it for plug-ins: timers fire at their
// intervals and watched file descriptors are served when poll reports them. Registrations and
// every callback happen on the main thread; only Wake may be called from any thread.
class RunLoop
{
public:
  using Callback = std::function<void()>;
  // Receives the poll events that were reported for the descriptor.
  using FdCallback = std::function<void(short revents)>;

  RunLoop();
  ~RunLoop();
  RunLoop(const RunLoop&) = delete;
  RunLoop& operator=(const RunLoop&) = delete;

  // The timer's identifier (never 0), or 0 when the interval is 0 or the callback empty.
  uint32_t AddTimer(uint32_t intervalMs, Callback onTick);
  bool RemoveTimer(uint32_t id);
  // One registration per descriptor; events are poll's (POLLIN, POLLOUT).
  bool WatchFd(int fd, short events, FdCallback onReady);
  bool ChangeFd(int fd, short events);
  bool UnwatchFd(int fd);
  size_t TimerCount() const { return mTimers.size(); }
  size_t FdCount() const { return mFds.size(); }

  // Fires every registered timer once, whether due or not.
  void FireEveryTimer();
  // Serves the descriptors that are ready now, without waiting.
  void ServeReadyFds();
  // Runs for the duration, or until done answers true (asked after every pass), serving timers
  // when due and descriptors when ready; the pass hook runs once per pass.
  void RunFor(std::chrono::milliseconds duration, const std::function<bool()>& done = {});
  // Called once per pass of RunFor, before done is asked; for the owner's own main-thread work.
  void SetPassHook(Callback hook) { mPassHook = std::move(hook); }
  // Ends a RunFor wait early so that the pass hook and done run; any thread.
  void Wake();

private:
  using Clock = std::chrono::steady_clock;

  struct Timer
  {
    std::chrono::milliseconds interval;
    Clock::time_point due;
    Callback onTick;
  };

  struct Watch
  {
    short events = 0;
    // Set after a hang-up or error has been reported once, so a dead descriptor does not keep
    // the loop spinning; cleared when the registration changes.
    bool quiet = false;
    FdCallback onReady;
  };

  void FireDueTimers(Clock::time_point now);
  // Waits up to the timeout for the watched descriptors and the wake descriptor, then serves them.
  void PollAndServe(std::chrono::nanoseconds timeout);

  int mWakeFd = -1;
  uint32_t mNextTimerId = 1;
  std::map<uint32_t, Timer> mTimers;
  std::map<int, Watch> mFds;
  Callback mPassHook;
};

} // namespace velmora::host
