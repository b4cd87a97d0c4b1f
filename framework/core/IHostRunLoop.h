#pragma once

#include <functional>
#include <memory>

namespace iplug
{

// What the editor window needs of the host's main-thread loop: callbacks when a descriptor has
// data and at a steady interval. Each format wrapper offers it on its host's own run loop.
// Registrations end when their handle is destroyed; all of it runs on the main thread.
class IHostRunLoop
{
public:
  using Callback = std::function<void()>;

  // Ends one registration when destroyed.
  class Registration
  {
  public:
    virtual ~Registration() = default;
  };

  virtual ~IHostRunLoop() = default;
  // nullptr when the host refuses.
  virtual std::unique_ptr<Registration> WatchFd(int fd, Callback onReadable) = 0;
  virtual std::unique_ptr<Registration> StartTimer(int intervalMs, Callback onTick) = 0;
};

} // namespace iplug
