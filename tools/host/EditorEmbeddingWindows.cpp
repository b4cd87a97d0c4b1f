#include "tools/host/EditorEmbedding.h"

namespace velmora::host
{

std::string EditorUnavailableReason()
{
  return "the editor is not available in the Windows build";
}

} // namespace velmora::host
