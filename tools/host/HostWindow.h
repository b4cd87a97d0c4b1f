#pragma once

#include "tools/host/HostedPlugin.h"

#include <memory>
#include <string>

namespace velmora::host
{

// The host's own top-level window that an editor is embedded in: fixed to the editor's size,
// closed through the window system's close request (the window manager's delete protocol on X11,
// WM_CLOSE on Windows). Main thread only.
class HostWindow
{
public:
  // Null with a reason when the window system cannot give a window.
  static std::unique_ptr<HostWindow> Open(const std::string& title, const HostEditorSize& size,
                                          std::string& error);
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  // The parent to give an editor.
  NativeWindow Id() const;
  const HostEditorSize& Size() const { return mSize; }
  // Resizes the window's content to the size and keeps the user from resizing it otherwise.
  void Resize(const HostEditorSize& size);
  void Show();
  // Reads the window's pending events (on Windows the run loop dispatches them).
  void ServeEvents();
  bool CloseRequested() const { return mCloseRequested; }
  // Asks the window to close as the window system would: CloseRequested turns true once the
  // request has been served.
  void RequestClose();
  // Writes what the window shows, its embedded editor included, as a PNG file.
  bool SavePng(const std::string& path, std::string& error);

private:
  // The window system's side of the window.
  struct Native;

  HostWindow(std::unique_ptr<Native> native, const HostEditorSize& size);
  void FixSize();

  std::unique_ptr<Native> mNative;
  HostEditorSize mSize;
  bool mCloseRequested = false;
};

} // namespace velmora::host
