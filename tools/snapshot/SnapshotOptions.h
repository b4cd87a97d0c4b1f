#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace velmora::tools
{

// What velmora-editor-snapshot is asked to draw.
struct SnapshotOptions
{
  float scale = 1.f;
  double demoSeconds = 0.0;
  // Parameter name and real value, applied in the order given.
  std::vector<std::pair<std::string, double>> settings;
  // The parameter whose control is drawn as held by the mouse; empty for none.
  std::string heldParam;
  std::string outputPath;
  // Where to list the controls, their rectangles and knob frames; empty for nowhere.
  std::string controlsPath;
};

// Reads the command line; nullopt (with the reason in error) when it is not usable.
std::optional<SnapshotOptions> ParseSnapshotOptions(int argc, const char* const* argv,
                                                    std::string& error);

const char* SnapshotUsage();

} // namespace velmora::tools
