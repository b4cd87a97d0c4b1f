#pragma once

#include "tools/host/HostedPlugin.h"

#include <memory>
#include <string>

// Xlib's connection type, declared here so that Xlib's macros stay out of this header.
struct _XDisplay;

namespace velmora::host
{

// The host's own top-level X11 window that an editor is embedded in: on a connection of its
// own, fixed to the editor's size, closed through the window manager's delete protocol. Main
// thread only.
class HostWindow
{
public:
  // Null with a reason when there is no X display to open.
  static std::unique_ptr<HostWindow> Open(const std::string& title, const HostEditorSize& size,
                                          std::string& error);
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  unsigned long Id() const { return mWindow; }
  const HostEditorSize& Size() const { return mSize; }
  // Resizes the window and keeps the window manager from resizing it otherwise.
  void Resize(const HostEditorSize& size);
  void Show();
  // Reads the window's pending events.
  void ServeEvents();
  bool CloseRequested() const { return mCloseRequested; }
  // Writes what the window shows, its embedded editor included, as a PNG file.
  bool SavePng(const std::string& path, std::string& error);

private:
  HostWindow(_XDisplay* display, unsigned long window, unsigned long deleteAtom,
             const HostEditorSize& size);
  void FixSize();

  _XDisplay* mDisplay;
  unsigned long mWindow;     // Window
  unsigned long mDeleteAtom; // Atom
  HostEditorSize mSize;
  bool mCloseRequested = false;
};

} // namespace velmora::host
