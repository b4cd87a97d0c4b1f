#include "framework/core/IEditorDelegate.h"

#include "framework/core/IHostRunLoop.h"
#include "framework/graphics/IGraphics.h"

#include <algorithm>
#include <cmath>

namespace iplug
{

IEditorDelegate::IEditorDelegate() = default;

// A derived plug-in closes its editor in its own destructor so that its OnUIClose runs; by the
// time this runs only the controls are left to destroy.
IEditorDelegate::~IEditorDelegate() = default;

igraphics::IGraphics* IEditorDelegate::OpenEditor()
{
  if (mUI)
    return mUI.get();
  if (mEditorCreateFunc)
    mUI = mEditorCreateFunc();
  if (!mUI)
    return nullptr;
  if (mLayoutFunc)
    mLayoutFunc(*mUI);
  OnUIOpen();
  return mUI.get();
}

void IEditorDelegate::CloseEditor()
{
  if (!mUI)
    return;
  OnUIClose();
  mEditorWidth = mUI->WindowWidth();
  mEditorHeight = mUI->WindowHeight();
  mUI.reset();
}

bool IEditorDelegate::OpenWindow(void* parent, IHostRunLoop* runLoop)
{
  if (!parent || (mUI && mUI->IsWindowOpen()))
    return false;
  igraphics::IGraphics* ui = OpenEditor();
  if (!ui)
    return false;
  if (!ui->OpenWindow(parent, runLoop))
  {
    CloseEditor();
    return false;
  }
  // The host last heard of the size the editor had before; it may open at another scale.
  if (ui->WindowWidth() != mEditorWidth || ui->WindowHeight() != mEditorHeight)
  {
    mEditorWidth = ui->WindowWidth();
    mEditorHeight = ui->WindowHeight();
    EditorResizeFromUI(mEditorWidth, mEditorHeight);
  }
  return true;
}

void IEditorDelegate::CloseWindow()
{
  if (mUI)
    mUI->CloseWindow();
  CloseEditor();
}

bool IEditorDelegate::ShowWindow(bool show)
{
  return mUI && mUI->ShowWindow(show);
}

void IEditorDelegate::GetEditorSize(int& width, int& height) const
{
  if (mUI)
  {
    width = mUI->WindowWidth();
    height = mUI->WindowHeight();
    return;
  }
  width = mEditorWidth;
  height = mEditorHeight;
}

void IEditorDelegate::SetScreenScale(float scale)
{
  if (!std::isfinite(scale) || scale < 0.f)
    return;
  // The editor draws at one to four screen pixels per device-independent pixel.
  if (scale > 0.f)
    scale = std::clamp(scale, 1.f, 4.f);
  const float previous = mHostScreenScale > 0.f ? mHostScreenScale : 1.f;
  mHostScreenScale = scale;
  if (mUI)
  {
    mUI->SetScreenScale(scale > 0.f ? scale : 1.f);
    return;
  }
  // Closed: the size it will open at follows the new scale.
  const float ratio = (scale > 0.f ? scale : 1.f) / previous;
  mEditorWidth = static_cast<int>(std::lround(mEditorWidth * ratio));
  mEditorHeight = static_cast<int>(std::lround(mEditorHeight * ratio));
}

void IEditorDelegate::SendControlMsgFromDelegate(int ctrlTag, int msgTag, int dataSize,
                                                 const void* pData)
{
  if (mUI)
    mUI->SendMsgToControl(ctrlTag, msgTag, dataSize, pData);
}

void IEditorDelegate::SendParameterValueFromDelegate(int paramIdx, double value, bool normalized)
{
  if (normalized && mUI)
    mUI->UpdateControlsOfParam(paramIdx, value);
  OnParamChangeUI(paramIdx, EParamSource::kDelegate);
}

} // namespace iplug
