#include "tools/host/EditorEmbedding.h"

namespace velmora::host
{

const EditorEmbedding& PlatformEditorEmbedding()
{
  static constexpr EditorEmbedding kX11{"an X11 window", "X11EmbedWindowID"};
  return kX11;
}

} // namespace velmora::host
