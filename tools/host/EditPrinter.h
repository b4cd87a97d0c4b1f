#pragma once

#include "tools/host/HostedPlugin.h"

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>

namespace velmora::host
{

// What the editor command prints of a running plug-in: each value its editor sets, as the module
// writes it ("Threshold: -12.0 dB"); with gestures, the begin and end of each edit ("begin
// Threshold", "end Threshold"); and each report of a latency change, with the latency then and
// the time since the last value the editor set ("latency: 64 samples, 38 ms after the last
// edit").
class EditPrinter
{
public:
  EditPrinter(HostedPlugin& plugin, bool printGestures);

  // Takes the edits and the latency now; cheap enough for every pass of the run loop.
  void PrintNew();

private:
  using Clock = std::chrono::steady_clock;

  std::string NameOf(uint32_t id) const;

  HostedPlugin& mPlugin;
  const bool mPrintGestures;
  std::map<uint32_t, HostParamInfo> mParams;
  int mLatencyReports;
  std::optional<Clock::time_point> mLastValueAt;
};

} // namespace velmora::host
