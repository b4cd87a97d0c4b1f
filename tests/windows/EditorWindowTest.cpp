// The editor's Win32 child window in a window of the test's own, driven by the messages Windows
// sends for the mouse: drags with capture, double-clicks, the wheel, and the window's end
// whichever side closes first.
#include "editor/DisplayScalePreference.h"
#include "framework/graphics/windows/IGraphicsWin.h"
#include "plugin/Velmora.h"
#include "plugin/VelmoraConfig.h"
#include "plugin/VelmoraParams.h"

#include "framework/platform/windows/Win32Headers.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

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
    if (mWindow)
      ShowWindow(mWindow, SW_SHOWNORMAL);
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

// What the window shows, read back from its device context, as 0xRRGGBB pixels row by row.
std::vector<uint32_t> ScreenPixels(HWND window, int width, int height)
{
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = GetDC(window);
  HBITMAP copy = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC memory = CreateCompatibleDC(screen);
  const HGDIOBJ previous = SelectObject(memory, copy);
  BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  GdiFlush();
  std::vector<uint32_t> pixels(static_cast<const uint32_t*>(bits),
                               static_cast<const uint32_t*>(bits) + width * height);
  for (uint32_t& pixel : pixels)
    pixel &= 0xFFFFFFu;
  SelectObject(memory, previous);
  DeleteDC(memory);
  DeleteObject(copy);
  ReleaseDC(window, screen);
  return pixels;
}

// The backing image as last drawn, in the same terms.
std::vector<uint32_t> BackingPixels(iplug::igraphics::IGraphics& ui)
{
  const iplug::igraphics::PixelView view = ui.GetPixels();
  std::vector<uint32_t> pixels;
  for (int y = 0; y < view.height; ++y)
    for (int x = 0; x < view.width; ++x)
      pixels.push_back(view.At(x, y));
  return pixels;
}

class EditorWindow : public ::testing::Test
{
protected:
  void SetUp() override
  {
    // The editor opens at 100 % without a stored display scale.
    std::remove(PreferencePath(kProductId).c_str());
    ASSERT_NE(mHost.Handle(), nullptr);
    mPlugin = std::make_unique<Velmora>(iplug::InstanceInfo{});
    ASSERT_TRUE(mPlugin->OpenWindow(mHost.Handle(), nullptr));
    mChild = static_cast<IGraphicsWin*>(mPlugin->GetUI())->Window();
    ASSERT_NE(mChild, nullptr);
  }

  double Threshold() const { return mPlugin->GetParam(kThreshold)->Value(); }

  LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam)
  {
    return SendMessageW(mChild, message, wParam, lParam);
  }

  HostWindow mHost;
  std::unique_ptr<Velmora> mPlugin;
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
  EXPECT_TRUE(static_cast<IGraphicsWin*>(mPlugin->GetUI())->FramesRunning());

  mPlugin->CloseWindow();
  EXPECT_FALSE(IsWindow(mChild));
  EXPECT_FALSE(ClassRegistered(className));
  // Reopening registers it again.
  ASSERT_TRUE(mPlugin->OpenWindow(mHost.Handle(), nullptr));
  EXPECT_TRUE(ClassRegistered(className));
}

TEST_F(EditorWindow, TheWindowShowsTheBackingImageAfterWholeAndPartialRepaints)
{
  iplug::igraphics::IGraphics& ui = *mPlugin->GetUI();
  PumpMessages();
  EXPECT_EQ(ScreenPixels(mChild, 650, 400), BackingPixels(ui));
  // A knob turned by a drag repaints only its own area.
  Send(WM_LBUTTONDOWN, MK_LBUTTON, At(kKnobX, kKnobY));
  Send(WM_MOUSEMOVE, MK_LBUTTON, At(kKnobX, kKnobY + 60));
  Send(WM_LBUTTONUP, 0, At(kKnobX, kKnobY + 60));
  for (int i = 0; i < 5; ++i)
  {
    Sleep(20);
    PumpMessages();
  }
  const std::vector<uint32_t> shown = ScreenPixels(mChild, 650, 400);
  EXPECT_EQ(shown, BackingPixels(ui));
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

// A host window that counts the key presses reaching it.
int gHostKeyPresses = 0;

LRESULT CALLBACK CountingKeys(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
  if (message == WM_KEYDOWN && wParam == VK_SPACE)
    ++gHostKeyPresses;
  return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(EditorWindow, KeysPressedWhileTheEditorHasTheFocusReachTheHost)
{
  Send(WM_LBUTTONDOWN, MK_LBUTTON, At(kKnobX, kKnobY));
  Send(WM_LBUTTONUP, 0, At(kKnobX, kKnobY));
  EXPECT_EQ(GetFocus(), mChild);
  SetWindowLongPtrW(mHost.Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingKeys));
  gHostKeyPresses = 0;
  Send(WM_KEYDOWN, VK_SPACE, 1);
  Send(WM_KEYUP, VK_SPACE, 1);
  SetWindowLongPtrW(mHost.Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DefWindowProcW));
  EXPECT_EQ(gHostKeyPresses, 1);
}

TEST_F(EditorWindow, CaptureTakenAwayMidDragEndsTheDrag)
{
  Send(WM_LBUTTONDOWN, MK_LBUTTON, At(kKnobX, kKnobY));
  Send(WM_MOUSEMOVE, MK_LBUTTON, At(kKnobX, kKnobY + 30));
  ASSERT_NE(mPlugin->GetUI()->GetCapturedControl(), nullptr);
  // Another window takes the mouse (a host's modal dialog, say).
  SetCapture(mHost.Handle());
  EXPECT_EQ(mPlugin->GetUI()->GetCapturedControl(), nullptr);
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
  EXPECT_FALSE(mPlugin->GetUI()->IsWindowOpen());
  PumpMessages();
  mPlugin->CloseWindow();
  EXPECT_FALSE(ClassRegistered(className));
}

TEST_F(EditorWindow, TheFramesRestWhenNothingChanges)
{
  auto* ui = static_cast<IGraphicsWin*>(mPlugin->GetUI());
  // With the mouse resting over a control its readout keeps the frames going.
  SetCursorPos(1900, 1400);
  Send(WM_MOUSELEAVE, 0, 0);
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
