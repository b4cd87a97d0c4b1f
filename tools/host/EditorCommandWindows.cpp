// The Windows build of the host has no window to embed an editor in.
#include "tools/host/HostCommands.h"

#include "tools/host/EditorEmbedding.h"
#include "tools/host/HostCommandSteps.h"

namespace velmora::host
{

int RunEditorCommand(const std::vector<std::string>&)
{
  return Fail(EditorUnavailableReason());
}

} // namespace velmora::host
