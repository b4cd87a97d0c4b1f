#pragma once

#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <array>

namespace iplug
{

// Walks one audio block with its parameter changes: every change is applied at its sample offset
// and the stretches between change points are processed in order. Holds no memory of its own
// beyond a fixed cursor table, so it runs on the audio thread.
class VST3ParamChangeSplitter
{
public:
  class Client
  {
  public:
    virtual void ApplyParamChange(Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue value,
                                  Steinberg::int32 sampleOffset) = 0;
    virtual void ProcessSegment(Steinberg::int32 start, Steinberg::int32 length) = 0;

  protected:
    ~Client() = default;
  };

  // Queues past this count are applied at the start of the block.
  static constexpr int kMaxTrackedQueues = 256;

  // changes may be null. Offsets before the block count as 0; changes at or after its end are
  // applied after the last stretch.
  void Run(Steinberg::Vst::IParameterChanges* changes, Steinberg::int32 nFrames, Client& client);

private:
  std::array<Steinberg::int32, kMaxTrackedQueues> mCursor{};
};

} // namespace iplug
