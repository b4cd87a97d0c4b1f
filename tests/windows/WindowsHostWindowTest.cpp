// The editor command's own top-level window on Windows, with child windows of the test's own
// standing in for an embedded editor: its title and fixed size, its screenshots and its close
// request.
#include "framework/graphics/GdiplusImageCodec.h"
#include "framework/graphics/GdiplusSession.h"
#include "tools/host/HostWindow.h"

#include "framework/platform/windows/Win32Headers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace velmora::test
{
namespace
{

using host::HostEditorSize;
using host::HostWindow;

constexpr wchar_t kChildClass[] = L"VelmoraTestChild";

// A child filled with its class brush, the colour given as the window's creation parameter.
LRESULT CALLBACK ChildProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
  if (message == WM_ERASEBKGND)
  {
    RECT area{};
    GetClientRect(window, &area);
    const HBRUSH brush =
        CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrW(window, GWLP_USERDATA)));
    FillRect(reinterpret_cast<HDC>(wParam), &area, brush);
    DeleteObject(brush);
    return 1;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

class WindowsHostWindow : public ::testing::Test
{
protected:
  void SetUp() override
  {
    std::string error;
    window = HostWindow::Open("Velmora \u2013 Test", {300, 200}, error);
    ASSERT_TRUE(window) << error;
    png = std::filesystem::temp_directory_path() /
          ("velmora-host-window-" + std::to_string(GetCurrentProcessId()) + ".png");
    WNDCLASSEXW childClass{};
    childClass.cbSize = sizeof(childClass);
    childClass.lpfnWndProc = &ChildProcedure;
    childClass.hInstance = GetModuleHandleW(nullptr);
    childClass.lpszClassName = kChildClass;
    RegisterClassExW(&childClass);
  }

  void TearDown() override
  {
    window.reset();
    UnregisterClassW(kChildClass, GetModuleHandleW(nullptr));
    std::filesystem::remove(png);
  }

  HWND Handle() const { return reinterpret_cast<HWND>(window->Id()); }

  HostEditorSize ClientSize() const
  {
    RECT client{};
    GetClientRect(Handle(), &client);
    return {client.right - client.left, client.bottom - client.top};
  }

  void AddChild(int x, int y, int width, int height, COLORREF colour) const
  {
    const HWND child = CreateWindowExW(0, kChildClass, L"", WS_CHILD, x, y, width, height, Handle(),
                                       nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(child, nullptr);
    SetWindowLongPtrW(child, GWLP_USERDATA, static_cast<LONG_PTR>(colour));
    ShowWindow(child, SW_SHOW);
    UpdateWindow(child);
  }

  // The pixels of the PNG file as 0xRRGGBB, row by row.
  std::vector<uint32_t> ReadPixels(int& width, int& height) const
  {
    std::ifstream in(png, std::ios::binary);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in),
                                           std::istreambuf_iterator<char>()};
    const auto session = iplug::igraphics::GdiplusSession::Acquire();
    const auto bitmap = iplug::igraphics::DecodePNGWithGdiplus(bytes);
    if (!bitmap)
      return {};
    width = bitmap->Width();
    height = bitmap->Height();
    std::vector<uint32_t> pixels;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        pixels.push_back(bitmap->Row(y)[x] & 0xFFFFFFu);
    return pixels;
  }

  std::unique_ptr<HostWindow> window;
  std::filesystem::path png;
};

TEST_F(WindowsHostWindow, CarriesTheTitleAndAFixedClientSizeThatFollowsResizes)
{
  wchar_t title[64]{};
  GetWindowTextW(Handle(), title, 64);
  EXPECT_EQ(std::wstring(title), L"Velmora \u2013 Test");
  EXPECT_EQ(ClientSize(), (HostEditorSize{300, 200}));
  const LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0);
  EXPECT_NE(style & WS_CAPTION, 0);

  window->Resize({975, 600});
  EXPECT_EQ(ClientSize(), (HostEditorSize{975, 600}));
  EXPECT_EQ(window->Size(), (HostEditorSize{975, 600}));
  for (const HostEditorSize bad : {HostEditorSize{0, 600}, HostEditorSize{40000, 600}})
  {
    window->Resize(bad);
    EXPECT_EQ(ClientSize(), (HostEditorSize{975, 600}));
  }
}

TEST_F(WindowsHostWindow, AScreenshotHoldsTheChildWindowsContent)
{
  std::string error;
  EXPECT_FALSE(window->SavePng(png.string(), error)) << "not shown yet";
  EXPECT_NE(error.find("not on screen"), std::string::npos) << error;

  window->Show();
  AddChild(0, 0, 300, 200, RGB(0xC0, 0x20, 0x20));
  AddChild(50, 40, 100, 60, RGB(0x20, 0x40, 0xE0));
  window->ServeEvents();
  ASSERT_TRUE(window->SavePng(png.string(), error)) << error;
  int width = 0;
  int height = 0;
  const std::vector<uint32_t> pixels = ReadPixels(width, height);
  ASSERT_EQ(width, 300);
  ASSERT_EQ(height, 200);
  EXPECT_EQ(pixels[10 * 300 + 10], 0xC02020u);
  EXPECT_EQ(pixels[50 * 300 + 60], 0x2040E0u);
  EXPECT_EQ(pixels[99 * 300 + 149], 0x2040E0u);
  EXPECT_EQ(pixels[199 * 300 + 299], 0xC02020u);

  EXPECT_FALSE(window->SavePng("Z:\\nonexistent-folder\\shot.png", error));
  EXPECT_NE(error.find("cannot write"), std::string::npos) << error;
}

// WM_CLOSE, from the system menu, the caption's button or another program, asks the host to
// close; the window stays until the host has closed the editor in it.
TEST_F(WindowsHostWindow, WmCloseAsksToCloseAndLeavesTheWindow)
{
  window->Show();
  window->ServeEvents();
  EXPECT_FALSE(window->CloseRequested());
  PostMessageW(Handle(), WM_CLOSE, 0, 0);
  window->ServeEvents();
  EXPECT_TRUE(window->CloseRequested());
  EXPECT_TRUE(IsWindow(Handle()));
}

TEST_F(WindowsHostWindow, RequestCloseIsServedAsAWmClose)
{
  window->Show();
  window->RequestClose();
  EXPECT_FALSE(window->CloseRequested());
  window->ServeEvents();
  EXPECT_TRUE(window->CloseRequested());
}

} // namespace
} // namespace velmora::test
