#pragma once

#include "plugin/Velmora.h"

#include <memory>
#include <vector>

namespace velmora::test
{

// An in-process host for one instance: owns the channel buffers, drives resets the way a host's
// set-up does and runs blocks.
class ProcessingHost
{
public:
  explicit ProcessingHost(int channels = 2);

  Velmora& Plugin() { return *mPlugin; }

  // Sets the processing context and runs the plug-in's reset, as a host's set-up does.
  void Reset(double sampleRate, int blockSize, bool offline = false);

  // Runs one block; input channel c is filled by the generator with (channel, frame index).
  template <typename Generator> void Run(int nFrames, Generator&& generate)
  {
    Resize(nFrames);
    for (int c = 0; c < mChannels; ++c)
    {
      for (int i = 0; i < nFrames; ++i)
        mInputs[static_cast<size_t>(c)][static_cast<size_t>(i)] = generate(c, mFrame + i);
    }
    Process(nFrames);
  }
  // Runs one block of a constant level on every channel.
  void RunConstant(int nFrames, double level);

  const std::vector<double>& Output(int channel) const
  {
    return mOutputs[static_cast<size_t>(channel)];
  }
  const std::vector<double>& Input(int channel) const
  {
    return mInputs[static_cast<size_t>(channel)];
  }
  long long FramesRun() const { return mFrame; }

private:
  void Resize(int nFrames);
  void Process(int nFrames);

  int mChannels;
  std::unique_ptr<Velmora> mPlugin;
  std::vector<std::vector<double>> mInputs;
  std::vector<std::vector<double>> mOutputs;
  std::vector<double*> mInputPtrs;
  std::vector<double*> mOutputPtrs;
  long long mFrame = 0;
};

bool AllZero(const std::vector<double>& samples, int count);

} // namespace velmora::test
