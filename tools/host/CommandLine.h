#pragma once

#include <string>
#include <vector>

namespace velmora::host
{

// The program's arguments after its name, as UTF-8. On Linux they are main's; on Windows they
// are taken from the UTF-16 command line, since main's are in the ANSI code page.
std::vector<std::string> CommandLineWords(int argc, char** argv);

} // namespace velmora::host
