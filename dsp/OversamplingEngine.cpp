#include "plugin/Velmora.h"

#include <algorithm>
#include <new>

void Velmora::RebuildOversampler()
{
  mOversampler.reset();
  mScratch = std::vector<double>();
  mZeroBlock = std::vector<double>();
  mFlushPending = false;
  mFlushRemaining = 0;
  mOversamplingLatency = 0;

  const int maxBlock = std::max(GetBlockSize(), kMinEngineBlock);
  try
  {
    auto engine =
        std::make_unique<velmora::Oversampler>(GetSampleRate(), maxBlock, GetRenderingOffline());
    std::vector<double> scratch(static_cast<size_t>(maxBlock), 0.0);
    std::vector<double> zeros(static_cast<size_t>(maxBlock), 0.0);
    mOversampler = std::move(engine);
    mScratch = std::move(scratch);
    mZeroBlock = std::move(zeros);
  }
  catch (const std::bad_alloc&)
  {
    // Without memory for blocks of this size every block is silent and the path is plain.
  }
  mOversamplingLatency = mOversampler != nullptr ? mOversampler->GetLatency() : 0;

  if (mOversamplingLatency > 0 && mOversamplingOn.load())
  {
    mFlushPending = true;
    mFlushRemaining = ZeroBlockLength() + mOversamplingLatency;
  }
  SetUpMeterDelay(mOversamplingLatency);
}

bool Velmora::IsEngineAvailable() const
{
  return mOversampler != nullptr && mOversampler->IsAvailable();
}

bool Velmora::RunFlushStep(double** outputs, int nOut, int nFrames, bool switchFadingOut)
{
  const int chunk = std::min(mFlushRemaining, nFrames);
  if (chunk <= ZeroBlockLength())
  {
    const int covered = std::min(nOut, 2);
    for (int c = 0; c < covered; ++c)
      mOversampler->FlushChannel(c, mZeroBlock.data(), chunk);
  }
  mFlushRemaining -= chunk;
  if (mFlushRemaining <= 0)
  {
    mFlushPending = false;
    mFlushRemaining = 0;
  }
  if (switchFadingOut)
    return false;
  for (int c = 0; c < nOut; ++c)
  {
    if (outputs[c] != nullptr)
      std::fill(outputs[c], outputs[c] + nFrames, 0.0);
  }
  return true;
}
