// velmora-host: loads a VST3 or CLAP module as a host does and shows, renders or stores what it
// does, or opens its editor.
#include "tools/host/CommandLine.h"
#include "tools/host/HostCommands.h"

#include <cstdio>
#include <string>
#include <vector>

namespace
{

int Usage()
{
  std::fprintf(
      stderr,
      "usage:\n"
      "  velmora-host info MODULE\n"
      "  velmora-host render MODULE --out OUT.wav [--in IN.wav] [--set \"Name=value\"]...\n"
      "               [--block N] [--bits 32|64] [--rate HZ] [--seconds S] [--offline]\n"
      "               [--out-bits 32|64]\n"
      "  velmora-host state save MODULE FILE [--set \"Name=value\"]...\n"
      "  velmora-host state load MODULE FILE\n"
      "  velmora-host editor MODULE [--in IN.wav] [--scale S] [--screenshot OUT.png]\n"
      "               [--after SECONDS] [--set \"Name=value\"]... [--block N] [--bits 32|64]\n"
      "               [--host-like ardour] [--print-gestures] [--close-after SECONDS]\n"
      "MODULE is a *.vst3 bundle (or the binary inside it) or a *.clap file.\n");
  return 2;
}

} // namespace

int main(int argc, char** argv)
{
  const std::vector<std::string> words = velmora::host::CommandLineWords(argc, argv);
  if (words.empty())
    return Usage();
  const std::string& command = words[0];
  if (command == "info")
    return velmora::host::RunInfoCommand({words.begin() + 1, words.end()});
  if (command == "render")
    return velmora::host::RunRenderCommand({words.begin() + 1, words.end()});
  if (command == "editor")
    return velmora::host::RunEditorCommand({words.begin() + 1, words.end()});
  if (command == "state" && words.size() >= 2 && words[1] == "save")
    return velmora::host::RunStateSaveCommand({words.begin() + 2, words.end()});
  if (command == "state" && words.size() >= 2 && words[1] == "load")
    return velmora::host::RunStateLoadCommand({words.begin() + 2, words.end()});
  return Usage();
}
