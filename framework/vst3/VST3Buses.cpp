#include "framework/vst3/VST3Buses.h"

#include "framework/vst3/VST3Strings.h"

#include "pluginterfaces/vst/vstspeaker.h"

#include <algorithm>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace iplug
{

SpeakerArrangement ArrangementForChannels(int channels)
{
  if (channels <= 0)
    return SpeakerArr::kEmpty;
  if (channels == 1)
    return SpeakerArr::kMono;
  if (channels >= 64)
    return ~SpeakerArrangement{0};
  return (SpeakerArrangement{1} << channels) - 1;
}

VST3Buses::VST3Buses(std::vector<IOConfig> configs) : mConfigs(std::move(configs))
{
  // The widest configuration sets the starting layout; among equals the last one wins.
  int widest = -1;
  for (const IOConfig& io : mConfigs)
  {
    mHasInput = mHasInput || io.nIn > 0;
    mHasOutput = mHasOutput || io.nOut > 0;
    if (io.nIn + io.nOut >= widest)
    {
      widest = io.nIn + io.nOut;
      mInputChannels = io.nIn;
      mOutputChannels = io.nOut;
    }
  }
}

bool VST3Buses::HasBus(MediaType type, BusDirection dir, int32 index) const
{
  return type == kAudio && index == 0 && (dir == kInput ? mHasInput : mHasOutput);
}

int32 VST3Buses::Count(MediaType type, BusDirection dir) const
{
  return HasBus(type, dir, 0) ? 1 : 0;
}

tresult VST3Buses::GetInfo(MediaType type, BusDirection dir, int32 index, BusInfo& info) const
{
  if (!HasBus(type, dir, index))
    return kInvalidArgument;
  info = BusInfo{};
  info.mediaType = type;
  info.direction = dir;
  info.channelCount = dir == kInput ? mInputChannels : mOutputChannels;
  CopyToUTF16(dir == kInput ? "Input" : "Output", info.name);
  info.busType = kMain;
  info.flags = BusInfo::kDefaultActive;
  return kResultOk;
}

tresult VST3Buses::Activate(MediaType type, BusDirection dir, int32 index, bool) const
{
  return HasBus(type, dir, index) ? kResultOk : kInvalidArgument;
}

tresult VST3Buses::GetArrangement(BusDirection dir, int32 index,
                                  SpeakerArrangement& arrangement) const
{
  if (!HasBus(kAudio, dir, index))
    return kInvalidArgument;
  arrangement = ArrangementForChannels(dir == kInput ? mInputChannels : mOutputChannels);
  return kResultOk;
}

bool VST3Buses::SetArrangements(const SpeakerArrangement* inputs, int32 numIns,
                                const SpeakerArrangement* outputs, int32 numOuts)
{
  if (numIns != (mHasInput ? 1 : 0) || numOuts != (mHasOutput ? 1 : 0))
    return false;
  if ((numIns > 0 && !inputs) || (numOuts > 0 && !outputs))
    return false;
  const int nIn = numIns > 0 ? SpeakerArr::getChannelCount(inputs[0]) : 0;
  const int nOut = numOuts > 0 ? SpeakerArr::getChannelCount(outputs[0]) : 0;
  const bool legal =
      std::any_of(mConfigs.begin(), mConfigs.end(),
                  [&](const IOConfig& io) { return io.nIn == nIn && io.nOut == nOut; });
  if (!legal)
    return false;
  mInputChannels = nIn;
  mOutputChannels = nOut;
  return true;
}

} // namespace iplug
