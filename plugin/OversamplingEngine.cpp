#include "plugin/Velmora.h"

#include <algorithm>
#include <new>

void Velmora::RebuildOversampler()
{
  mOversampler.reset();
  mScratch = std::vector<double>();
  mFlushPending = false;
  mFlushRemaining = 0;
  mOversamplingLatency = 0;

  const int maxBlock = std::max(GetBlockSize(), kMinEngineBlock);
  try
  {
    auto engine = std::make_unique<velmora::Oversampler>(GetSampleRate(), maxBlock,
                                                         GetRenderingOffline(), *mKernels);
    std::vector<double> scratch(static_cast<size_t>(maxBlock), 0.0);
    mOversampler = std::move(engine);
    mScratch = std::move(scratch);
  }
  catch (const std::bad_alloc&)
  {
    // Without memory for blocks of this size every block is silent and the path is plain.
  }
  mOversamplingLatency = mOversampler != nullptr ? mOversampler->GetLatency() : 0;
  // No flush here: a new engine holds no history and its first block already comes out delayed
  // by exactly the latency, so waiting would only throw the host's first input away.
  SetUpMeterDelay(mOversamplingLatency);
}

bool Velmora::IsEngineAvailable() const
{
  return mOversampler != nullptr && mOversampler->IsAvailable();
}

void Velmora::StartFlush()
{
  // Forgetting the history left from an earlier use is exactly what feeding zeros through the
  // resamplers would achieve; the silence after it keeps the dip a switch has always had.
  mOversampler->Clear();
  mFlushPending = true;
  mFlushRemaining = mOversampler->GetMaxBlock() + mOversamplingLatency;
}

void Velmora::RunFlushStep(double** outputs, int nOut, int nFrames)
{
  mFlushRemaining -= std::min(mFlushRemaining, nFrames);
  if (mFlushRemaining <= 0)
  {
    mFlushPending = false;
    mFlushRemaining = 0;
  }
  for (int c = 0; c < nOut; ++c)
  {
    if (outputs[c] != nullptr)
      std::fill(outputs[c], outputs[c] + nFrames, 0.0);
  }
}
