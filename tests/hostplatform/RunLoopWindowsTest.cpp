// On Windows plug-ins run their idle timers as WM_TIMER messages of a window on the thread that
// made them, and get no descriptors from the host: the host's loop must dispatch that thread's
// messages whenever it runs.
#include "framework/clap/ClapExtensions.h"
#include "tools/host/RunLoop.h"
#include "tools/host/clap/ClapHost.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace velmora::test
{
namespace
{

using namespace std::chrono_literals;

// A message-only window that counts its timer ticks.
class CountingWindow
{
public:
  CountingWindow()
  {
    static const wchar_t* const kClassName = []
    {
      WNDCLASSW description{};
      description.lpfnWndProc = &CountingWindow::Procedure;
      description.hInstance = ::GetModuleHandleW(nullptr);
      description.lpszClassName = L"VelmoraRunLoopTestWindow";
      ::RegisterClassW(&description);
      return description.lpszClassName;
    }();
    mWindow = ::CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                ::GetModuleHandleW(nullptr), this);
  }
  ~CountingWindow() { ::DestroyWindow(mWindow); }
  CountingWindow(const CountingWindow&) = delete;
  CountingWindow& operator=(const CountingWindow&) = delete;

  HWND Handle() const { return mWindow; }
  int Ticks() const { return mTicks; }

private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
  {
    if (message == WM_NCCREATE)
    {
      const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      ::SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* self = reinterpret_cast<CountingWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_TIMER)
      ++self->mTicks;
    return ::DefWindowProcW(window, message, wParam, lParam);
  }

  HWND mWindow = nullptr;
  int mTicks = 0;
};

TEST(WindowsRunLoop, AWin32TimerTicksWhileTheLoopRunsAndOnlyThen)
{
  CountingWindow window;
  ASSERT_NE(window.Handle(), nullptr);
  ASSERT_NE(::SetTimer(window.Handle(), 1, 10, nullptr), 0u);
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(window.Ticks(), 0);

  host::RunLoop loop;
  loop.RunFor(300ms);
  // About 30 at 10 ms; a loaded machine may deliver fewer, none at all is the failure.
  EXPECT_GE(window.Ticks(), 10);
  ::KillTimer(window.Handle(), 1);
}

TEST(WindowsRunLoop, WakeFromAnotherThreadEndsAWaitPromptly)
{
  host::RunLoop loop;
  std::atomic<bool> woken{false};
  std::thread other(
      [&]
      {
        std::this_thread::sleep_for(50ms);
        woken = true;
        loop.Wake();
      });
  const auto start = std::chrono::steady_clock::now();
  loop.RunFor(5s, [&] { return woken.load(); });
  const auto waited = std::chrono::steady_clock::now() - start;
  other.join();
  EXPECT_TRUE(woken);
  EXPECT_LT(waited, 2s);
}

TEST(WindowsRunLoop, NoDescriptorsAreWatchedOrOfferedToCLAPPlugins)
{
  host::RunLoop loop;
  EXPECT_FALSE(loop.WatchFd(0, host::RunLoop::kFdReadable, [](host::RunLoop::FdEvents) {}));
  EXPECT_EQ(loop.FdCount(), 0u);

  const host::ClapHost clapHost({});
  const clapabi::clap_host* record = clapHost.Record();
  EXPECT_EQ(record->get_extension(record, clapabi::CLAP_EXT_POSIX_FD_SUPPORT), nullptr);
  EXPECT_NE(record->get_extension(record, clapabi::CLAP_EXT_TIMER_SUPPORT), nullptr);
}

} // namespace
} // namespace velmora::test
