#pragma once

#include <cstddef>
#include <vector>

namespace iplug
{

// 64-bit working buffers of the processing wrapper, sized on the main thread before processing:
// conversion buffers for 32-bit hosts and silence for a missing input bus.
// The audio thread only reads the pointer tables and writes samples.
class VST3SampleBuffers
{
public:
  void Allocate(int nChannels, int maxFrames);

  int Channels() const { return mChannels; }
  int Capacity() const { return mCapacity; }

  double* Input(int channel) { return mInput[static_cast<size_t>(channel)].data(); }
  double* Output(int channel) { return mOutput[static_cast<size_t>(channel)].data(); }
  // Never written: stands in for an input bus the host left out.
  double* Silence() { return mSilence.data(); }

  // Channel pointer tables the block processor reads.
  double** InputPointers() { return mInputPointers.data(); }
  double** OutputPointers() { return mOutputPointers.data(); }

private:
  int mChannels = 0;
  int mCapacity = 0;
  std::vector<std::vector<double>> mInput;
  std::vector<std::vector<double>> mOutput;
  std::vector<double> mSilence;
  std::vector<double*> mInputPointers;
  std::vector<double*> mOutputPointers;
};

} // namespace iplug
