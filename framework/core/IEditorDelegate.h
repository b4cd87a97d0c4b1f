#pragma once

#include "framework/core/EParamSource.h"

#include <functional>
#include <memory>

namespace iplug
{
class IHostRunLoop;
class IParam;
namespace igraphics
{
class IGraphics;
}

// The plug-in's side of the editor: it owns the editor while it is open, builds it through the
// installed creation and layout functions, routes values and messages from the plug-in to the
// editor's controls and receives the editor's edits and life-cycle hooks. Main thread only.
class IEditorDelegate
{
public:
  using EditorCreateFunc = std::function<std::unique_ptr<igraphics::IGraphics>()>;
  using LayoutFunc = std::function<void(igraphics::IGraphics&)>;

  IEditorDelegate();
  virtual ~IEditorDelegate();
  IEditorDelegate(const IEditorDelegate&) = delete;
  IEditorDelegate& operator=(const IEditorDelegate&) = delete;

  void SetEditorCreateFunc(EditorCreateFunc func) { mEditorCreateFunc = std::move(func); }
  void SetLayoutFunc(LayoutFunc func) { mLayoutFunc = std::move(func); }

  // Creates the editor when none is held, lays it out and runs OnUIOpen. Returns the open
  // editor, or nullptr when no editor could be created. Opening an open editor does nothing.
  igraphics::IGraphics* OpenEditor();
  // Runs OnUIClose while the editor still exists, then destroys it with its controls.
  void CloseEditor();
  igraphics::IGraphics* GetUI() const { return mUI.get(); }

  // The editor inside a host's window (the platform's window handle), its events and redraws
  // served by the host's run loop (null where the platform's windows keep their own timers):
  // opens the editor as OpenEditor does, then its window. False, with no editor left open, when
  // either cannot be made.
  bool OpenWindow(void* parent, IHostRunLoop* runLoop);
  // Closes the window and the editor (OnUIClose first).
  void CloseWindow();
  bool ShowWindow(bool show);
  // The editor window's size in pixels: of the open editor, else the size it had last.
  void GetEditorSize(int& width, int& height) const;
  // Pixels per device-independent pixel as the host imposes it (0: the screen's own).
  void SetScreenScale(float scale);
  float GetHostScreenScale() const { return mHostScreenScale; }
  // Brings a size a host proposes within the editor's limits.
  virtual void ConstrainEditorSize(int& /*width*/, int& /*height*/) const {}
  // The editor changed its own window size; a format wrapper asks its host to follow. True
  // when the host agreed.
  virtual bool EditorResizeFromUI(int /*width*/, int /*height*/) { return false; }

  // Routes a message to the open editor's control bearing ctrlTag; discarded when no editor is
  // open or no control has that tag.
  virtual void SendControlMsgFromDelegate(int ctrlTag, int msgTag, int dataSize, const void* pData);
  // A parameter value from the plug-in: shown on the controls bound to the parameter (when the
  // editor is open), then handed to OnParamChangeUI.
  virtual void SendParameterValueFromDelegate(int paramIdx, double value, bool normalized);
  // An edit made in the editor; the plug-in base stores it and runs its change handling.
  virtual void SendParameterValueFromUI(int /*paramIdx*/, double /*normalizedValue*/) {}
  // A user gesture on a parameter (a drag, a click, a wheel step, a double-click) begins and
  // ends around the values it sends, so that a format can tell its host one edit from the next.
  virtual void BeginInformHostOfParamChangeFromUI(int /*paramIdx*/) {}
  virtual void EndInformHostOfParamChangeFromUI(int /*paramIdx*/) {}
  // A parameter's default value, normalised; 0 when there is no such parameter.
  virtual double GetParamDefaultNormalized(int /*paramIdx*/) const { return 0.0; }
  // The parameter as hosts see it (name, display text, unit); null when there is none.
  virtual const IParam* GetParam(int /*paramIdx*/) const { return nullptr; }
  // Asks the host to pop up its menu for a parameter (automation, MIDI learn, ...) at a position
  // in the editor window's pixels, with the plug-in's own items added. False when the host
  // offers no such menu.
  virtual bool PopupHostContextMenuForParam(int /*paramIdx*/, int /*x*/, int /*y*/)
  {
    return false;
  }

  // Change handling that must run on the main thread.
  virtual void OnParamChangeUI(int /*paramIdx*/, EParamSource /*source*/) {}
  virtual void OnUIOpen() {}
  virtual void OnUIClose() {}

private:
  EditorCreateFunc mEditorCreateFunc;
  LayoutFunc mLayoutFunc;
  // Present exactly while the editor is open.
  std::unique_ptr<igraphics::IGraphics> mUI;
  float mHostScreenScale = 0.f;

protected:
  // The size reported while no editor is open; the plug-in base starts it at its configured size.
  int mEditorWidth = 0;
  int mEditorHeight = 0;
};

} // namespace iplug
