// The editor's Win32 child window in a window of the test's own, driven by the messages Windows
// sends for the mouse: drags with capture, double-clicks, the wheel, and the window's end
// whichever side closes first.
#include "framework/graphics/windows/IGraphicsWin.h"
#include "plugin/Velmora.h"
#include "plugin/VelmoraParams.h"

#include "framework/platform/windows/Win32Headers.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace velmora::test
{
namespace
{

using iplug::igraphics::IGraphicsWin;

// The Threshold knob's centre in editor pixels at 100 %.
constexpr int kKnobX = 24 + 32;
constexpr int kKnobY = 152 + 32;

LPARAM At(int x, int y)
{
  return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

void PumpMessages()
{
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
  {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// A top-level window standing in for the host's.
class HostWindow
{
public:
  HostWindow()
  {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"VelmoraTestHost";
    RegisterClassExW(&windowClass);
    mWindow = CreateWindowExW(0, L"VelmoraTestHost", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ~HostWindow()
  {
    if (mWindow)
      DestroyWindow(mWindow);
  }
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  HWND Handle() const { return mWindow; }
  void Destroy()
  {
    DestroyWindow(mWindow);
    mWindow = nullptr;
  }

private:
  HWND mWindow = nullptr;
};

// The editor's class as the module registered it, from the child's own class name.
bool ClassRegistered(const std::wstring& name)
{
  WNDCLASSEXW info{};
  info.cbSize = sizeof(info);
  return GetClassInfoExW(GetModuleHandleW(nullptr), name.c_str(), &info) != FALSE;
}

std::wstring ClassNameOf(HWND window)
{
  wchar_t name[128] = {};
  GetClassNameW(window, name, static_cast<int>(std::size(name)));
  return name;
}

class EditorWindow : public ::testing::Test
{
protected:
  void SetUp() override
  {
    ASSERT_NE(mHost.Handle(), nullptr);
    ASSERT_TRUE(mPlugin.OpenWindow(mHost.Handle(), nullptr));
    mChild = static_cast<IGraphicsWin*>(mPlugin.GetUI())->Window();
    ASSERT_NE(mChild, nullptr);
  }

  double Threshold() const { return mPlugin.GetParam(kThreshold)->Value(); }

  LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam)
  {
    return SendMessageW(mChild, message, wParam, lParam);
  }

  HostWindow mHost;
  Velmora mPlugin{iplug::InstanceInfo{}};
  HWND mChild = nullptr;
};

TEST_F(EditorWindow, OpensAsAChildAtTheEditorsSizeWithAClassOfItsOwnThatGoesWithIt)
{
  EXPECT_EQ(GetParent(mChild), mHost.Handle());
  EXPECT_TRUE(GetWindowLongPtrW(mChild, GWL_STYLE) & WS_CHILD);
  RECT client{};
  GetClientRect(mChild, &client);
  EXPECT_EQ(client.right, 650);
  EXPECT_EQ(client.bottom, 400);
  const std::wstring className = ClassNameOf(mChild);
  EXPECT_EQ(className.rfind(L"VelmoraEditor", 0), 0u)
      << std::string(className.begin(), className.end());
  WNDCLASSEXW info{};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), className.c_str(), &info));
  EXPECT_TRUE(info.style & CS_DBLCLKS);
  EXPECT_TRUE(static_cast<IGraphicsWin*>(mPlugin.GetUI())->FramesRunning());

  mPlugin.CloseWindow();
  EXPECT_FALSE(IsWindow(mChild));
  EXPECT_FALSE(ClassRegistered(className));
  // Reopening registers it again.
  ASSERT_TRUE(mPlugin.OpenWindow(mHost.Handle(), nullptr));
  EXPECT_TRUE(ClassRegistered(className));
}

TEST_F(EditorWindow, ADragHoldsTheMouseUntilReleasedAndTurnsTheKnob)
{
  const double before = Threshold();
  Send(WM_MOUSEMOVE, 0, At(kKnobX, kKnobY));
  Send(WM_LBUTTONDOWN, MK_LBUTTON, At(kKnobX, kKnobY));
  EXPECT_EQ(GetCapture(), mChild);
  // Downwards, past the window's bottom edge: the drag goes on outside.
  for (int y = kKnobY + 10; y <= 460; y += 10)
    Send(WM_MOUSEMOVE, MK_LBUTTON, At(kKnobX, y));
  Send(WM_LBUTTONUP, 0, At(kKnobX, 460));
  EXPECT_NE(GetCapture(), mChild);
  EXPECT_LT(Threshold(), before);
}

TEST_F(EditorWindow, ADoubleClickResetsAndTheWheelSteps)
{
  const double defaultValue = Threshold();
  Send(WM_LBUTTONDOWN, MK_LBUTTON, At(kKnobX, kKnobY));
  Send(WM_MOUSEMOVE, MK_LBUTTON, At(kKnobX, kKnobY + 40));
  Send(WM_LBUTTONUP, 0, At(kKnobX, kKnobY + 40));
  ASSERT_LT(Threshold(), defaultValue);
  // The class turns the second press of a pair into a double-click message.
  Send(WM_LBUTTONDOWN, MK_LBUTTON, At(kKnobX, kKnobY));
  Send(WM_LBUTTONUP, 0, At(kKnobX, kKnobY));
  Send(WM_LBUTTONDBLCLK, MK_LBUTTON, At(kKnobX, kKnobY));
  Send(WM_LBUTTONUP, 0, At(kKnobX, kKnobY));
  EXPECT_EQ(Threshold(), defaultValue);

  // Wheel positions are on the screen: one step towards the user over the knob.
  POINT knob{kKnobX, kKnobY};
  ClientToScreen(mChild, &knob);
  Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), At(knob.x, knob.y));
  const double afterStep = Threshold();
  EXPECT_LT(afterStep, defaultValue);
  // Away from any control the wheel changes nothing.
  POINT empty{640, 10};
  ClientToScreen(mChild, &empty);
  Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), At(empty.x, empty.y));
  EXPECT_EQ(Threshold(), afterStep);
}

TEST_F(EditorWindow, CaptureTakenAwayMidDragEndsTheDrag)
{
  Send(WM_LBUTTONDOWN, MK_LBUTTON, At(kKnobX, kKnobY));
  Send(WM_MOUSEMOVE, MK_LBUTTON, At(kKnobX, kKnobY + 30));
  ASSERT_NE(mPlugin.GetUI()->GetCapturedControl(), nullptr);
  // Another window takes the mouse (a host's modal dialog, say).
  SetCapture(mHost.Handle());
  EXPECT_EQ(mPlugin.GetUI()->GetCapturedControl(), nullptr);
  ReleaseCapture();
  const double after = Threshold();
  // Movement after that is no drag.
  Send(WM_MOUSEMOVE, 0, At(kKnobX, kKnobY + 80));
  EXPECT_EQ(Threshold(), after);
}

TEST_F(EditorWindow, TheHostDestroyingItsWindowFirstLeavesAClosableEditor)
{
  const std::wstring className = ClassNameOf(mChild);
  mHost.Destroy();
  EXPECT_FALSE(IsWindow(mChild));
  EXPECT_FALSE(mPlugin.GetUI()->IsWindowOpen());
  PumpMessages();
  mPlugin.CloseWindow();
  EXPECT_FALSE(ClassRegistered(className));
}

TEST_F(EditorWindow, TheFramesRestWhenNothingChanges)
{
  auto* ui = static_cast<IGraphicsWin*>(mPlugin.GetUI());
  const DWORD until = GetTickCount() + 2000;
  while (ui->FramesRunning() && GetTickCount() < until)
  {
    PumpMessages();
    ui->OnIdle();
    Sleep(5);
  }
  EXPECT_FALSE(ui->FramesRunning());
  // A drag starts them again.
  Send(WM_LBUTTONDOWN, MK_LBUTTON, At(kKnobX, kKnobY));
  Send(WM_MOUSEMOVE, MK_LBUTTON, At(kKnobX, kKnobY + 20));
  EXPECT_TRUE(ui->FramesRunning());
  Send(WM_LBUTTONUP, 0, At(kKnobX, kKnobY + 20));
}

} // namespace
} // namespace velmora::test
