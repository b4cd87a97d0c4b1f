#include "framework/core/IEditorDelegate.h"

namespace iplug
{

void IEditorDelegate::SendControlMsgFromDelegate(int, int, int, const void*)
{
}

} // namespace iplug
