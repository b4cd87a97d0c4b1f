#include "tests/processing/ProcessingHost.h"

#include <algorithm>

namespace velmora::test
{

ProcessingHost::ProcessingHost(int channels)
    : mChannels(channels), mPlugin(std::make_unique<Velmora>(iplug::InstanceInfo{})),
      mInputs(static_cast<size_t>(channels)), mOutputs(static_cast<size_t>(channels)),
      mInputPtrs(static_cast<size_t>(channels)), mOutputPtrs(static_cast<size_t>(channels))
{
  mPlugin->SetChannelConnections(channels, channels);
}

void ProcessingHost::Reset(double sampleRate, int blockSize, bool offline)
{
  mPlugin->SetSampleRate(sampleRate);
  mPlugin->SetBlockSize(blockSize);
  mPlugin->SetRenderingOffline(offline);
  mPlugin->OnReset();
}

void ProcessingHost::RunConstant(int nFrames, double level)
{
  Run(nFrames, [level](int, long long) { return level; });
}

void ProcessingHost::Resize(int nFrames)
{
  const auto frames = static_cast<size_t>(std::max(nFrames, 0));
  for (int c = 0; c < mChannels; ++c)
  {
    const auto index = static_cast<size_t>(c);
    if (mInputs[index].size() != frames)
    {
      mInputs[index].assign(frames, 0.0);
      mOutputs[index].assign(frames, 0.0);
    }
    mInputPtrs[index] = mInputs[index].data();
    mOutputPtrs[index] = mOutputs[index].data();
  }
}

void ProcessingHost::Process(int nFrames)
{
  mPlugin->ProcessBlock(mInputPtrs.data(), mOutputPtrs.data(), nFrames);
  mFrame += std::max(nFrames, 0);
}

bool AllZero(const std::vector<double>& samples, int count)
{
  return std::all_of(samples.begin(), samples.begin() + count, [](double s) { return s == 0.0; });
}

} // namespace velmora::test
