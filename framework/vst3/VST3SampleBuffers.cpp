#include "framework/vst3/VST3SampleBuffers.h"

#include <algorithm>

namespace iplug
{

void VST3SampleBuffers::Allocate(int nChannels, int maxFrames)
{
  mChannels = std::max(0, nChannels);
  mCapacity = std::max(0, maxFrames);
  const auto frames = static_cast<size_t>(mCapacity);
  const auto channels = static_cast<size_t>(mChannels);
  mInput.assign(channels, std::vector<double>(frames, 0.0));
  mOutput.assign(channels, std::vector<double>(frames, 0.0));
  mSilence.assign(frames, 0.0);
  mInputPointers.assign(channels, nullptr);
  mOutputPointers.assign(channels, nullptr);
}

} // namespace iplug
