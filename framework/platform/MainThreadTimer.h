#pragma once

#include <functional>
#include <memory>

namespace iplug::platform
{

// A repeating timer of the operating system's own, firing on the thread that started it while
// that thread dispatches its messages. It stops when destroyed, which must happen on that thread.
class MainThreadTimer
{
public:
  virtual ~MainThreadTimer() = default;
};

// Starts a timer on the calling thread. Null where the platform's hosts drive plug-ins through
// their own run loop instead (Linux), or when the system refuses.
std::unique_ptr<MainThreadTimer> StartMainThreadTimer(int intervalMs, std::function<void()> tick);

} // namespace iplug::platform
