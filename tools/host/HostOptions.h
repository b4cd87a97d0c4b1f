#pragma once

#include <optional>
#include <string>
#include <vector>

namespace velmora::host
{

// Which host's ways of offering its run loop the host copies.
enum class HostLike
{
  // The context of initialise and every editor's frame offer it.
  Default,
  // VST3 only: the editor's frame and the component handler offer it once an editor exists, and
  // timers wait for the window system's events.
  Ardour,
};

// The options the host's commands accept, parsed from the words after the command name.
struct HostOptions
{
  std::vector<std::string> positional;
  std::vector<std::string> settings; // "Name=value", display values
  std::string inputPath;             // empty: the built-in demo signal
  std::string outputPath;
  std::optional<double> sampleRate;
  double seconds = 6.0;
  int blockSize = 512;
  int bits = 64;
  // Of the written file's samples.
  int outputBits = 32;
  bool offline = false;
  // The editor command: the host's content scale, and a screenshot taken after a delay.
  std::optional<double> scale;
  std::string screenshotPath;
  double screenshotAfterSeconds = 1.0;
  // The editor command: the host closes its window after this long, as a user would.
  std::optional<double> closeAfterSeconds;
  // The editor command: print where each edit begins and ends too.
  bool printGestures = false;
  HostLike hostLike = HostLike::Default;
};

// False with a reason in error for unknown options, missing or malformed values.
bool ParseHostOptions(const std::vector<std::string>& args, HostOptions& options,
                      std::string& error);

} // namespace velmora::host
