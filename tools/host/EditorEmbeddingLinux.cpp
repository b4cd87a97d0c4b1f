#include "tools/host/EditorEmbedding.h"

namespace velmora::host
{

std::string EditorUnavailableReason()
{
  return {};
}

} // namespace velmora::host
