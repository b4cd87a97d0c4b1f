#pragma once

#include <windows.h>

#include <chrono>
#include <string>
#include <thread>

namespace velmora::test
{

// Dispatches this thread's window messages, as a Windows host's main loop does between its calls
// into a plug-in, until done answers true (asked after each pass) or the time is up; returns
// done's last answer.
template <typename Done> bool PumpMessagesUntil(Done done, std::chrono::milliseconds limit)
{
  const auto end = std::chrono::steady_clock::now() + limit;
  for (;;)
  {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
    {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (done())
      return true;
    if (std::chrono::steady_clock::now() >= end)
      return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

inline std::wstring WidePath(const std::string& utf8)
{
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
  std::wstring wide(static_cast<size_t>(length > 0 ? length : 1), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, wide.data(), length);
  wide.resize(wide.size() - 1);
  return wide;
}

} // namespace velmora::test
