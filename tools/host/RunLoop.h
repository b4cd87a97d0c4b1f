#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace velmora::host
{

// The host's main-thread loop as the platform's hosts run it for plug-ins: timers fire at their
// intervals; on Linux watched file descriptors are served when poll reports them, on Windows
// the thread's window messages are dispatched, which is where plug-ins run their own Win32
// timers. Registrations and every callback happen on the main thread; only Wake may be called
// from any thread.
class RunLoop
{
public:
  using Callback = std::function<void()>;
  // What a descriptor is watched for, and what was found: a combination of the flags below.
  using FdEvents = unsigned;
  static constexpr FdEvents kFdReadable = 1;
  static constexpr FdEvents kFdWritable = 2;
  // Reported only: an error or hang-up.
  static constexpr FdEvents kFdFailed = 4;
  using FdCallback = std::function<void(FdEvents ready)>;

  // Whether this platform's loop watches descriptors at all; where it does not, WatchFd refuses.
  static bool WatchesFds();

  RunLoop();
  ~RunLoop();
  RunLoop(const RunLoop&) = delete;
  RunLoop& operator=(const RunLoop&) = delete;

  // The timer's identifier (never 0), or 0 when the interval is 0 or the callback empty.
  uint32_t AddTimer(uint32_t intervalMs, Callback onTick);
  bool RemoveTimer(uint32_t id);
  // One registration per descriptor.
  bool WatchFd(int fd, FdEvents events, FdCallback onReady);
  bool ChangeFd(int fd, FdEvents events);
  bool UnwatchFd(int fd);
  size_t TimerCount() const { return mTimers.size(); }
  size_t FdCount() const;
  // The registered timers' intervals, in the order they were added.
  std::vector<std::chrono::milliseconds> TimerIntervals() const;

  // Fires every registered timer once, whether due or not.
  void FireEveryTimer();
  // Serves the descriptors that are ready now, without waiting.
  void ServeReadyFds();
  // Dispatches the window messages queued for this thread, without waiting; none on Linux.
  void DispatchMessages();
  // Runs for the duration, or until done answers true (asked after every pass), serving timers
  // when due, descriptors when ready and messages as they come; the pass hook runs once per
  // pass.
  void RunFor(std::chrono::milliseconds duration, const std::function<bool()>& done = {});
  // With yield, RunFor serves due timers only in a pass after one that found no descriptor
  // ready: timers below the window system's events in priority, as glib idle-priority timeouts.
  void SetTimersYieldToFds(bool yield) { mTimersYieldToFds = yield; }
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

  // The platform's waiting and waking, and its descriptor registrations.
  struct Platform;

  void FireDueTimers(Clock::time_point now);
  // Waits up to the timeout for what the platform waits on (and Wake), then serves it; whether
  // it served a descriptor.
  bool WaitAndServe(std::chrono::nanoseconds timeout);

  std::unique_ptr<Platform> mPlatform;
  uint32_t mNextTimerId = 1;
  std::map<uint32_t, Timer> mTimers;
  Callback mPassHook;
  bool mTimersYieldToFds = false;
};

} // namespace velmora::host
