#pragma once

#include "framework/clap/ClapCore.h"
#include "tools/host/HostedPlugin.h"
#include "tools/host/SpscQueue.h"

#include <vector>

namespace velmora::host
{

// The output event list the host hands the plug-in in process and flush: gesture-begin,
// parameter-value and gesture-end events become host edits, everything else is accepted and
// dropped. Pushing neither allocates nor locks, so the audio thread may fill it while the main
// thread takes the edits; only one thread pushes at a time.
class ClapEditRecorder
{
public:
  ClapEditRecorder();
  ClapEditRecorder(const ClapEditRecorder&) = delete;
  ClapEditRecorder& operator=(const ClapEditRecorder&) = delete;

  const clapabi::clap_output_events* Output() const { return &mOutput; }
  // The edits pushed since the last call, oldest first.
  std::vector<HostEdit> Take();

private:
  static bool TryPush(const clapabi::clap_output_events* list,
                      const clapabi::clap_event_header* event);

  static constexpr size_t kCapacity = 4096;
  SpscQueue<HostEdit> mEdits{kCapacity};
  clapabi::clap_output_events mOutput{};
};

} // namespace velmora::host
