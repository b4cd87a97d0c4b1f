#pragma once

#include "framework/core/EParamSource.h"

#include <functional>
#include <memory>

namespace iplug
{
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

  // Change handling that must run on the main thread.
  virtual void OnParamChangeUI(int /*paramIdx*/, EParamSource /*source*/) {}
  virtual void OnUIOpen() {}
  virtual void OnUIClose() {}

private:
  EditorCreateFunc mEditorCreateFunc;
  LayoutFunc mLayoutFunc;
  // Present exactly while the editor is open.
  std::unique_ptr<igraphics::IGraphics> mUI;
};

} // namespace iplug
