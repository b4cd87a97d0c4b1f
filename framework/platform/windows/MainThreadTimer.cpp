#include "framework/platform/MainThreadTimer.h"

#include <windows.h>

#include <mutex>

namespace iplug::platform
{

namespace
{

constexpr wchar_t kWindowClass[] = L"VelmoraMainThreadTimer";
constexpr UINT_PTR kTimerId = 1;

// The module this code is linked into: window classes are registered per module, so two
// modules of ours in one host never share (or unregister) each other's class.
HINSTANCE ThisModule()
{
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

// Instances may be created on several threads; the class lives while any timer does, so it is
// gone before the module can be unloaded.
std::mutex gClassLock;
int gClassUsers = 0;

bool AcquireWindowClass(WNDPROC proc)
{
  const std::lock_guard<std::mutex> guard(gClassLock);
  if (gClassUsers == 0)
  {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = proc;
    windowClass.hInstance = ThisModule();
    windowClass.lpszClassName = kWindowClass;
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
      return false;
  }
  ++gClassUsers;
  return true;
}

void ReleaseWindowClass()
{
  const std::lock_guard<std::mutex> guard(gClassLock);
  if (--gClassUsers == 0)
    UnregisterClassW(kWindowClass, ThisModule());
}

// A WM_TIMER timer on a message-only window of its own, which carries the timer's address.
class Win32Timer final : public MainThreadTimer
{
public:
  explicit Win32Timer(std::function<void()> tick) : mTick(std::move(tick)) {}
  Win32Timer(const Win32Timer&) = delete;
  Win32Timer& operator=(const Win32Timer&) = delete;

  ~Win32Timer() override
  {
    if (mWindow)
    {
      KillTimer(mWindow, kTimerId);
      DestroyWindow(mWindow);
    }
    if (mHasClass)
      ReleaseWindowClass();
  }

  bool Start(int intervalMs)
  {
    mHasClass = AcquireWindowClass(&Win32Timer::WindowProc);
    if (!mHasClass)
      return false;
    mWindow = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              ThisModule(), nullptr);
    if (!mWindow)
      return false;
    SetWindowLongPtrW(mWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return SetTimer(mWindow, kTimerId, static_cast<UINT>(intervalMs), nullptr) != 0;
  }

private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
  {
    if (message == WM_TIMER && wParam == kTimerId)
    {
      if (auto* self = reinterpret_cast<Win32Timer*>(GetWindowLongPtrW(window, GWLP_USERDATA)))
        self->mTick();
      return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }

  std::function<void()> mTick;
  HWND mWindow = nullptr;
  bool mHasClass = false;
};

} // namespace

std::unique_ptr<MainThreadTimer> StartMainThreadTimer(int intervalMs, std::function<void()> tick)
{
  if (intervalMs <= 0 || !tick)
    return nullptr;
  auto timer = std::make_unique<Win32Timer>(std::move(tick));
  if (!timer->Start(intervalMs))
    return nullptr;
  return timer;
}

} // namespace iplug::platform
