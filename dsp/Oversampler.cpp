#include "dsp/Oversampler.h"

#include "dsp/SampleSanitising.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace velmora
{

Oversampler::Oversampler(double sampleRate, int maxBlock, bool offline, const DspKernels& kernels)
    : mQuality(offline ? kOfflineQuality : kRealTimeQuality), mSampleRate(sampleRate),
      mMaxBlock(std::max(maxBlock, 1)), mKernels(&kernels)
{
  const Quality quality = QualitySettings(mQuality);
  const double highRate = mSampleRate * mFactor;
  for (int c = 0; c < kChannels; ++c)
  {
    const auto index = static_cast<size_t>(c);
    mUpsamplers[index] = MakeResampler(mSampleRate, highRate, mMaxBlock, quality, kernels);
    mDownsamplers[index] =
        MakeResampler(highRate, mSampleRate, mMaxBlock * mFactor, quality, kernels);
    mInputBuffers[index].assign(static_cast<size_t>(mMaxBlock), 0.0);
  }
  mLatency = ComputeLatency();
}

bool Oversampler::IsAvailable() const
{
  return mFactor > 1 && mUpsamplers[0] != nullptr && mUpsamplers[0]->IsValid() &&
         mDownsamplers[0] != nullptr && mDownsamplers[0]->IsValid();
}

void Oversampler::ProcessChannel(int channel, const double* input, double* output, int nFrames,
                                 const ShaperCoefficients& coefficients)
{
  if (nFrames <= 0 || output == nullptr || channel < 0 || channel >= kChannels)
    return;
  const auto index = static_cast<size_t>(channel);
  if (nFrames > mMaxBlock)
  {
    std::fill(output, output + nFrames, 0.0);
    return;
  }
  std::vector<double>& staged = mInputBuffers[index];
  CopyFinite(input, staged.data(), nFrames);

  double* high = staged.data();
  int highCount = nFrames;
  CDSPResampler* up = mUpsamplers[index].get();
  if (mFactor != 1 && up != nullptr)
    highCount = up->process(staged.data(), nFrames, high);
  if (highCount <= 0 || high == nullptr)
  {
    std::fill(output, output + nFrames, 0.0);
    return;
  }

  // Extreme drive can overflow the curve; keep that out of the downsampler's history.
  mKernels->shape(high, high, highCount, coefficients, SampleGuard::ZeroNonFiniteOutput);

  double* low = high;
  int lowCount = highCount;
  CDSPResampler* down = mDownsamplers[index].get();
  if (mFactor != 1 && down != nullptr)
  {
    lowCount = down->process(high, highCount, low);
    if (lowCount <= 0 || low == nullptr)
    {
      std::fill(output, output + nFrames, 0.0);
      return;
    }
  }
  const int copied = std::min(nFrames, lowCount);
  std::copy(low, low + copied, output);
  std::fill(output + copied, output + nFrames, 0.0);
}

void Oversampler::Clear()
{
  for (int c = 0; c < kChannels; ++c)
  {
    const auto index = static_cast<size_t>(c);
    if (mUpsamplers[index] != nullptr)
      mUpsamplers[index]->clear();
    if (mDownsamplers[index] != nullptr)
      mDownsamplers[index]->clear();
  }
}

Oversampler::Quality Oversampler::QualitySettings(int quality)
{
  if (quality >= kOfflineQuality)
    return {5.0, 150.0};
  return {10.0, 120.0};
}

std::unique_ptr<CDSPResampler> Oversampler::MakeResampler(double srcRate, double dstRate,
                                                          int maxInLen, const Quality& quality,
                                                          const DspKernels& kernels)
{
  try
  {
    return std::make_unique<CDSPResampler>(srcRate, dstRate, maxInLen, quality.transBandPercent,
                                           quality.stopbandAttenDb, EPhaseResponse::Minimum,
                                           kernels);
  }
  catch (const std::bad_alloc&)
  {
    return nullptr;
  }
}

double Oversampler::DelayOf(const CDSPResampler& resampler)
{
  return resampler.getInLenBeforeOutPos(0) + resampler.getLatencyFrac();
}

int Oversampler::ComputeLatency() const
{
  if (!IsAvailable())
    return 0;
  const double delay = DelayOf(*mUpsamplers[0]) + DelayOf(*mDownsamplers[0]) / mFactor;
  if (!std::isfinite(delay) || delay <= 0.0)
    return 0;
  return static_cast<int>(std::lround(delay));
}

} // namespace velmora
