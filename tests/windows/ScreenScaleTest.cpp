// The screen scale the Windows editor window applies, from a window's DPI.
#include "framework/graphics/windows/ScreenScale.h"

#include <gtest/gtest.h>

namespace velmora::test
{
namespace
{

UINT gStandInDpi = 0;
HWND gAskedWindow = nullptr;

UINT WINAPI StandInDpiForWindow(HWND window)
{
  gAskedWindow = window;
  return gStandInDpi;
}

TEST(ScreenScale, IsTheWindowsDpiOver96RoundedAndOneWithoutAnAnswer)
{
  struct Case
  {
    UINT dpi;
    int scale;
  };
  // 100 %, 125 %, 150 %, 175 %, 200 %, 300 %, below 100 %, and no such window (0).
  for (const Case c : {Case{96, 1}, Case{120, 1}, Case{144, 2}, Case{168, 2}, Case{192, 2},
                       Case{288, 3}, Case{72, 1}, Case{0, 1}})
  {
    gStandInDpi = c.dpi;
    const HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x1234));
    EXPECT_EQ(iplug::igraphics::ScreenScaleOf(window, &StandInDpiForWindow), c.scale) << c.dpi;
    EXPECT_EQ(gAskedWindow, window);
  }
  // A Windows without GetDpiForWindow.
  EXPECT_EQ(iplug::igraphics::ScreenScaleOf(nullptr, nullptr), 1);
}

TEST(ScreenScale, AsksUser32sOwnGetDpiForWindow)
{
  HMODULE user32 = LoadLibraryW(L"user32.dll");
  ASSERT_NE(user32, nullptr);
  const auto found = iplug::igraphics::FindDpiForWindow();
  EXPECT_EQ(reinterpret_cast<void*>(found),
            reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForWindow")));
  if (found)
  {
    EXPECT_GE(iplug::igraphics::ScreenScaleOf(GetDesktopWindow()), 1);
  }
  FreeLibrary(user32);
}

} // namespace
} // namespace velmora::test
