#include "tools/host/CommandLine.h"

namespace velmora::host
{

std::vector<std::string> CommandLineWords(int argc, char** argv)
{
  return std::vector<std::string>(argv + 1, argv + argc);
}

} // namespace velmora::host
