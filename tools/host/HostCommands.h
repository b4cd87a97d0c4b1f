#pragma once

#include <string>
#include <vector>

namespace velmora::host
{

// The commands of velmora-host. Each takes the arguments after its own name, writes its result
// to stdout and its error messages to stderr, and returns the process exit code.
int RunInfoCommand(const std::vector<std::string>& args);
int RunRenderCommand(const std::vector<std::string>& args);
int RunStateSaveCommand(const std::vector<std::string>& args);
int RunStateLoadCommand(const std::vector<std::string>& args);
int RunEditorCommand(const std::vector<std::string>& args);

} // namespace velmora::host
