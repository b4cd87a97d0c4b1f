// The Windows DLLs' editors opened and closed over and over in a host window of the test's own:
// nothing of theirs stays behind (windows, timers, the window class, GDI and user objects,
// handles), and the modules unload cleanly afterwards.
#include "tests/windows/ResourceCount.h"
#include "tools/host/HostWindow.h"
#include "tools/host/HostedPluginLoader.h"

#include "framework/platform/windows/Win32Headers.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <utility>

namespace velmora::test
{
namespace
{

using namespace std::chrono_literals;
using host::HostEditorSize;

constexpr int kRounds = 50;
constexpr int kWarmUpRounds = 3;

// The host's message loop for a while, noting every timer that fires on this thread.
std::set<std::pair<HWND, WPARAM>> ServeNotingTimers(std::chrono::milliseconds duration)
{
  std::set<std::pair<HWND, WPARAM>> timers;
  const auto end = std::chrono::steady_clock::now() + duration;
  while (std::chrono::steady_clock::now() < end)
  {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
    {
      if (message.message == WM_TIMER)
        timers.emplace(message.hwnd, message.wParam);
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
  return timers;
}

// Handles to this thread itself: a thread library opens one for its own records the first time a
// thread is asked after (mingw's winpthreads for std::thread ids and locks), and keeps it for the
// thread's life. Under Wine one such appears during the rounds, once; they are no window's.
long HandlesToThisThread()
{
  long n = 0;
  DWORD flags = 0;
  for (uintptr_t value = 4; value <= 0xFFFF; value += 4)
  {
    const auto handle = reinterpret_cast<HANDLE>(value);
    n += GetHandleInformation(handle, &flags) && GetThreadId(handle) == GetCurrentThreadId();
  }
  return n;
}

class WindowsEditorLifetime : public ::testing::TestWithParam<const char*>
{
};

TEST_P(WindowsEditorLifetime, FiftyRoundsLeaveNothingBehindAndTheModuleUnloads)
{
  // Without a stored display scale the editor opens at 100 %.
  wchar_t appData[MAX_PATH]{};
  ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, appData), S_OK);
  DeleteFileW(
      (std::wstring(appData) + L"\\Corvane Audio\\Preferences\\velmora-display-scale.txt").c_str());

  std::string error;
  const std::unique_ptr<host::HostWindow> window =
      host::HostWindow::Open("Velmora test", {650, 400}, error);
  ASSERT_TRUE(window) << error;
  window->Show();
  const HWND host = reinterpret_cast<HWND>(window->Id());

  wchar_t className[256]{};
  HINSTANCE classModule = nullptr;
  {
    const std::unique_ptr<host::HostedPlugin> plugin = host::LoadHostedPlugin(GetParam(), error);
    ASSERT_TRUE(plugin) << error;
    plugin->SetResizeHandler([&window](const HostEditorSize& size) { window->Resize(size); });

    // The first round loads what stays for the process's life (GDI+, the font).
    ASSERT_TRUE(plugin->OpenEditor(window->Id(), std::nullopt, error)) << error;
    ServeNotingTimers(100ms);
    const HWND editor = GetWindow(host, GW_CHILD);
    ASSERT_NE(editor, nullptr) << "the editor made no child window";
    EXPECT_EQ(GetWindow(editor, GW_HWNDNEXT), nullptr) << "more than one child window";
    EXPECT_TRUE(IsWindowVisible(editor));
    RECT area{};
    GetClientRect(editor, &area);
    EXPECT_EQ(area.right, 650);
    EXPECT_EQ(area.bottom, 400);
    ASSERT_GT(GetClassNameW(editor, className, 256), 0);
    classModule = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(editor, GWLP_HINSTANCE));
    EXPECT_NE(classModule, GetModuleHandleW(nullptr)) << "the class is not the module's own";
    plugin->CloseEditor();
    // Under Wine the second opening in a process leaves two GDI objects more, the later ones
    // none: what stays for the process's life is loaded after these.
    for (int warmUp = 0; warmUp < kWarmUpRounds; ++warmUp)
    {
      ASSERT_TRUE(plugin->OpenEditor(window->Id(), std::nullopt, error)) << error;
      ServeNotingTimers(20ms);
      plugin->CloseEditor();
    }

    const std::set<std::pair<HWND, WPARAM>> timersBefore = ServeNotingTimers(200ms);
    const ResourceCount before = CountResources();
    const long selfBefore = HandlesToThisThread();
    for (int round = 0; round < kRounds; ++round)
    {
      SCOPED_TRACE(round);
      ASSERT_TRUE(plugin->OpenEditor(window->Id(), std::nullopt, error)) << error;
      ServeNotingTimers(20ms);
      plugin->CloseEditor();
      ASSERT_EQ(GetWindow(host, GW_CHILD), nullptr);
    }
    const std::set<std::pair<HWND, WPARAM>> timersAfter = ServeNotingTimers(200ms);
    const ResourceCount after = CountResources();
    const long selfAfter = HandlesToThisThread();
    std::printf("%s: GDI objects %ld -> %ld, user objects %ld -> %ld, handles %ld -> %ld over %d "
                "rounds\n",
                plugin->FormatName().c_str(), before.gdiObjects, after.gdiObjects,
                before.userObjects, after.userObjects, before.handles, after.handles, kRounds);
    EXPECT_EQ(after.gdiObjects, before.gdiObjects);
    EXPECT_EQ(after.userObjects, before.userObjects);
    EXPECT_EQ(after.handles - selfAfter, before.handles - selfBefore)
        << selfBefore << " -> " << selfAfter << " handles to this thread";
    EXPECT_EQ(timersAfter, timersBefore);
    WNDCLASSEXW registered{};
    registered.cbSize = sizeof(registered);
    EXPECT_FALSE(GetClassInfoExW(classModule, className, &registered))
        << "the editor's window class stays registered after the last editor closed";
  }
  // Unloaded: its handle names no module any more, and nothing of it runs on (a timer or window
  // procedure left behind would be called into unloaded code here).
  wchar_t path[MAX_PATH]{};
  EXPECT_EQ(GetModuleFileNameW(classModule, path, MAX_PATH), 0u);
  ServeNotingTimers(100ms);
  EXPECT_EQ(GetWindow(host, GW_CHILD), nullptr);
}

INSTANTIATE_TEST_SUITE_P(BothDlls, WindowsEditorLifetime,
                         ::testing::Values(VELMORA_VST3_BUNDLE_PATH, VELMORA_CLAP_MODULE),
                         [](const auto& info) { return info.index == 0 ? "VST3" : "CLAP"; });

} // namespace
} // namespace velmora::test
