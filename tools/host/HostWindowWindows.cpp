#include "tools/host/HostWindow.h"

#include "framework/graphics/DibSection.h"
#include "framework/graphics/GdiplusImageCodec.h"
#include "framework/graphics/GdiplusSession.h"
#include "tools/host/WindowsText.h"

#include <windows.h>

namespace velmora::host
{

namespace
{

constexpr wchar_t kClassName[] = L"VelmoraHostWindow";
// Fixed in size: no sizing border and no maximise box.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr int kScreenOffset = 40;

// Hosts are DPI aware so that plug-ins see the screen's own DPI rather than 96. Looked up at run
// time: older Windows lacks the per-monitor call.
void BecomeDpiAware()
{
  using SetContext = BOOL(WINAPI*)(HANDLE);
  const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  const auto setContext = user32 ? reinterpret_cast<SetContext>(reinterpret_cast<void (*)()>(
                                       ::GetProcAddress(user32, "SetProcessDpiAwarenessContext")))
                                 : nullptr;
  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
  if (!setContext || !setContext(reinterpret_cast<HANDLE>(static_cast<intptr_t>(-4))))
    ::SetProcessDPIAware();
}

} // namespace

struct HostWindow::Native
{
  HWND window = nullptr;
  HostWindow* owner = nullptr;

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
  {
    auto* native = reinterpret_cast<Native*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_CLOSE)
    {
      // The owner decides when the window goes: after the editor in it has closed.
      if (native && native->owner)
        native->owner->mCloseRequested = true;
      return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
  }

  static bool RegisterClassOnce(std::string& error)
  {
    static const ATOM atom = []
    {
      WNDCLASSEXW windowClass{};
      windowClass.cbSize = sizeof(windowClass);
      windowClass.lpfnWndProc = &Procedure;
      windowClass.hInstance = ::GetModuleHandleW(nullptr);
      windowClass.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
      windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
      windowClass.lpszClassName = kClassName;
      return ::RegisterClassExW(&windowClass);
    }();
    if (atom == 0)
      error = "cannot register the host's window class: " + SystemErrorText(::GetLastError());
    return atom != 0;
  }
};

std::unique_ptr<HostWindow> HostWindow::Open(const std::string& title, const HostEditorSize& size,
                                             std::string& error)
{
  static const bool dpiAware = (BecomeDpiAware(), true);
  (void)dpiAware;
  if (!Native::RegisterClassOnce(error))
    return nullptr;
  RECT frame{0, 0, size.width, size.height};
  ::AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
  const HWND window =
      ::CreateWindowExW(0, kClassName, Utf16FromUtf8(title).c_str(), kStyle, kScreenOffset,
                        kScreenOffset, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                        nullptr, ::GetModuleHandleW(nullptr), nullptr);
  if (!window)
  {
    // Wine without an X display fails without a reason.
    const DWORD code = ::GetLastError();
    error = code != 0 ? "cannot create the host's window: " + SystemErrorText(code)
                      : "cannot create the host's window: no display to show it on";
    return nullptr;
  }
  auto native = std::make_unique<Native>();
  native->window = window;
  std::unique_ptr<HostWindow> host(new HostWindow(std::move(native), size));
  host->mNative->owner = host.get();
  ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(host->mNative.get()));
  return host;
}

HostWindow::HostWindow(std::unique_ptr<Native> native, const HostEditorSize& size)
    : mNative(std::move(native)), mSize(size)
{
}

HostWindow::~HostWindow()
{
  ::SetWindowLongPtrW(mNative->window, GWLP_USERDATA, 0);
  ::DestroyWindow(mNative->window);
}

NativeWindow HostWindow::Id() const
{
  return reinterpret_cast<NativeWindow>(mNative->window);
}

void HostWindow::FixSize()
{
  RECT frame{0, 0, mSize.width, mSize.height};
  ::AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
  ::SetWindowPos(mNative->window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void HostWindow::Resize(const HostEditorSize& size)
{
  if (!IsUsableEditorSize(size))
    return;
  mSize = size;
  FixSize();
}

void HostWindow::Show()
{
  ::ShowWindow(mNative->window, SW_SHOWNORMAL);
  ::UpdateWindow(mNative->window);
}

void HostWindow::ServeEvents()
{
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
  {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

void HostWindow::RequestClose()
{
  ::PostMessageW(mNative->window, WM_CLOSE, 0, 0);
}

bool HostWindow::SavePng(const std::string& path, std::string& error)
{
  if (!::IsWindowVisible(mNative->window))
  {
    error = "the window is not on screen";
    return false;
  }
  RECT client{};
  ::GetClientRect(mNative->window, &client);
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  const std::shared_ptr<iplug::igraphics::GdiplusSession> gdiplus =
      iplug::igraphics::GdiplusSession::Acquire();
  const std::unique_ptr<iplug::igraphics::DibSection> pixels =
      iplug::igraphics::DibSection::Create(width, height);
  if (!gdiplus || !pixels)
  {
    error = "cannot make an image of " + std::to_string(width) + " x " + std::to_string(height);
    return false;
  }
  // The window's client DC reads the window's pixels with its child windows' (the editor's).
  const HDC source = ::GetDCEx(mNative->window, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
  const HDC memory = ::CreateCompatibleDC(source);
  const HGDIOBJ previous = ::SelectObject(memory, pixels->Handle());
  const bool copied = ::BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY) != 0;
  ::SelectObject(memory, previous);
  ::DeleteDC(memory);
  ::ReleaseDC(mNative->window, source);
  if (!copied)
  {
    error = "cannot read the window's content: " + SystemErrorText(::GetLastError());
    return false;
  }
  if (!iplug::igraphics::WritePNGWithGdiplus(pixels->Bits(), width, height, pixels->Stride(),
                                             path.c_str()))
  {
    error = "cannot write " + path;
    return false;
  }
  return true;
}

} // namespace velmora::host
