#include "tools/host/EditorEmbedding.h"

namespace velmora::host
{

const EditorEmbedding& PlatformEditorEmbedding()
{
  static constexpr EditorEmbedding kWin32{"a Win32 window", "HWND"};
  return kWin32;
}

} // namespace velmora::host
