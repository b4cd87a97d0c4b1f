#include "framework/core/IEditorDelegate.h"

#include "framework/graphics/IGraphics.h"

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
  mUI.reset();
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
