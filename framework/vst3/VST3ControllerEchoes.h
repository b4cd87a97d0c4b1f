#pragma once

#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <atomic>
#include <cstdint>
#include <vector>

namespace iplug
{

// Values the controller side applied that the host also sends with a later audio block, as
// JUCE-based hosts send every change both ways. Parameters live once in this single-component
// object, so those copies must not be stored again: by then the controller may have moved on (a
// program change, a state load) and the older copy would undo it. A parameter's queue in a block
// that holds the copy of its latest controller value is a copy up to that point (hosts that queue
// every value send the earlier ones first); points after it, and queues without it, are the
// host's own. A copy that no block brings within a few blocks is no longer awaited (hosts that
// send to the controller only). Expect runs on the main thread; the rest on the audio thread,
// without allocating or locking.
class VST3ControllerEchoes
{
public:
  static constexpr int kLapseBlocks = 4;

  // Slots: the plug-in's parameters by index, then "Bypass" and "Preset".
  explicit VST3ControllerEchoes(int nParams);

  void Expect(Steinberg::Vst::ParamID id, double value);
  // Before a block's changes are applied: finds the copies among them.
  void BlockStarting(Steinberg::Vst::IParameterChanges* changes);
  // For each point of the block's queues in order, as it is applied: whether it is a copy.
  bool IsCopy(Steinberg::Vst::ParamID id);
  // After the block: ages the copies still awaited.
  void BlockDone();

private:
  struct Expected
  {
    std::atomic<uint64_t> valueBits{0};
    std::atomic<uint32_t> serial{0};
  };
  // The audio thread's own view of a slot.
  struct Awaited
  {
    uint32_t seenSerial = 0;
    int age = 0;
    bool pending = false;
    // In the current block: the points applied so far and the last one that is a copy.
    int32_t pointsApplied = 0;
    int32_t lastCopy = -1;
  };

  int Slot(Steinberg::Vst::ParamID id) const;
  // Takes in a new controller value of the slot, if there is one.
  Awaited& Refresh(int slot);

  int mParams;
  std::vector<Expected> mExpected;
  std::vector<Awaited> mAwaited;
};

} // namespace iplug
