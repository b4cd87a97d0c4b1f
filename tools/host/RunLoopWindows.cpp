// The Windows side of the run loop: plug-ins run their own Win32 timers on the thread that
// made them, so the loop waits for that thread's messages (or Wake's event) and dispatches
// them. Windows hosts give plug-ins no descriptors to watch.
#include "tools/host/RunLoop.h"

#include <windows.h>

#include <algorithm>

namespace velmora::host
{

struct RunLoop::Platform
{
  // Auto-reset: one Wake ends one wait.
  HANDLE wakeEvent = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);

  ~Platform()
  {
    if (wakeEvent)
      ::CloseHandle(wakeEvent);
  }
};

bool RunLoop::WatchesFds()
{
  return false;
}

RunLoop::RunLoop() : mPlatform(std::make_unique<Platform>()) {}

RunLoop::~RunLoop() = default;

bool RunLoop::WatchFd(int, FdEvents, FdCallback)
{
  return false;
}

bool RunLoop::ChangeFd(int, FdEvents)
{
  return false;
}

bool RunLoop::UnwatchFd(int)
{
  return false;
}

size_t RunLoop::FdCount() const
{
  return 0;
}

void RunLoop::Wake()
{
  if (mPlatform->wakeEvent)
    ::SetEvent(mPlatform->wakeEvent);
}

void RunLoop::ServeReadyFds() {}

void RunLoop::DispatchMessages()
{
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
  {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

// Windows loops watch no descriptors.
bool RunLoop::WaitAndServe(std::chrono::nanoseconds timeout)
{
  // Rounded up, so that a timer due in less than a millisecond is not polled for in a spin.
  const auto ms = std::chrono::ceil<std::chrono::milliseconds>(timeout).count();
  const auto waitMs = static_cast<DWORD>(std::min<long long>(ms, INFINITE - 1));
  const DWORD handles = mPlatform->wakeEvent ? 1 : 0;
  ::MsgWaitForMultipleObjectsEx(handles, &mPlatform->wakeEvent, waitMs, QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
  DispatchMessages();
  return false;
}

} // namespace velmora::host
