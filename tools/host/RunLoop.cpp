#include "tools/host/RunLoop.h"

#include <algorithm>

namespace velmora::host
{

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

std::vector<std::chrono::milliseconds> RunLoop::TimerIntervals() const
{
  std::vector<std::chrono::milliseconds> intervals;
  for (const auto& [id, timer] : mTimers)
    intervals.push_back(timer.interval);
  return intervals;
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

void RunLoop::RunFor(std::chrono::milliseconds duration, const std::function<bool()>& done)
{
  const Clock::time_point end = Clock::now() + duration;
  bool servedFds = false;
  while (true)
  {
    DispatchMessages();
    Clock::time_point now = Clock::now();
    if (!(mTimersYieldToFds && servedFds))
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
    servedFds = WaitAndServe(std::max(std::chrono::nanoseconds(0), wakeAt - now));
  }
}

} // namespace velmora::host
