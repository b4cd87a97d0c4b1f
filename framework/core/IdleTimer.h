#pragma once

namespace iplug
{

// Period of the main-thread idle tick that the format layer drives from the host's run loop.
inline constexpr int kIdleTimerIntervalMs = 20;

// Receives the idle tick. Called on the main thread only, every kIdleTimerIntervalMs while the
// host's run loop serves the instance; tests call it by hand.
class ITimerClient
{
public:
  virtual ~ITimerClient() = default;
  virtual void OnTimer() = 0;
};

} // namespace iplug
