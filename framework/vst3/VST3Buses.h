#pragma once

#include "framework/core/IOConfig.h"

#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/vsttypes.h"

#include <vector>

namespace iplug
{

// The main audio input and output buses of an effect, built from its channel configurations.
// Bus arrangements are accepted only when their channel counts form one of the configurations.
class VST3Buses
{
public:
  explicit VST3Buses(std::vector<IOConfig> configs);

  Steinberg::int32 Count(Steinberg::Vst::MediaType type, Steinberg::Vst::BusDirection dir) const;
  Steinberg::tresult GetInfo(Steinberg::Vst::MediaType type, Steinberg::Vst::BusDirection dir,
                             Steinberg::int32 index, Steinberg::Vst::BusInfo& info) const;
  // Buses are always processed; activation only checks that the bus exists.
  Steinberg::tresult Activate(Steinberg::Vst::MediaType type, Steinberg::Vst::BusDirection dir,
                              Steinberg::int32 index, bool state) const;
  Steinberg::tresult GetArrangement(Steinberg::Vst::BusDirection dir, Steinberg::int32 index,
                                    Steinberg::Vst::SpeakerArrangement& arrangement) const;
  // Applies the arrangements when they match a configuration; false leaves the buses unchanged.
  bool SetArrangements(const Steinberg::Vst::SpeakerArrangement* inputs, Steinberg::int32 numIns,
                       const Steinberg::Vst::SpeakerArrangement* outputs, Steinberg::int32 numOuts);

  int InputChannels() const { return mInputChannels; }
  int OutputChannels() const { return mOutputChannels; }

private:
  bool HasBus(Steinberg::Vst::MediaType type, Steinberg::Vst::BusDirection dir,
              Steinberg::int32 index) const;

  std::vector<IOConfig> mConfigs;
  bool mHasInput = false;
  bool mHasOutput = false;
  int mInputChannels = 0;
  int mOutputChannels = 0;
};

// The arrangement a host expects for a plain channel count (mono, stereo, or the first n
// speakers).
Steinberg::Vst::SpeakerArrangement ArrangementForChannels(int channels);

} // namespace iplug
