#pragma once

#include <string>

namespace velmora::host
{

// Why this build of the host cannot embed a plug-in's editor, or empty when it can. The host
// embeds editors in X11 windows of its own, which only its Linux build has.
std::string EditorUnavailableReason();

} // namespace velmora::host
