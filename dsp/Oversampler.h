#pragma once

#include "dsp/CDSPResampler.h"
#include "dsp/DspKernelDispatch.h"
#include "dsp/ShaperCoefficients.h"

#include <array>
#include <memory>
#include <vector>

namespace velmora
{

// Runs the saturation curve at four times the host rate between a 4x up- and a 4x down-sampler
// per channel, for blocks of up to a fixed number of host samples. Built whole at every reset;
// processing and clearing never allocate.
class Oversampler
{
public:
  static constexpr int kFactor = 4;
  static constexpr int kChannels = 2;
  static constexpr int kRealTimeQuality = 2;
  static constexpr int kOfflineQuality = 3;

  // Quality 3 when the host renders offline, 2 otherwise. A resampler whose allocation fails is
  // left absent; the stage it serves then passes its input through. The curve and the filters run
  // on the given kernel variant.
  Oversampler(double sampleRate, int maxBlock, bool offline,
              const DspKernels& kernels = FastestDspKernels());

  int GetFactor() const { return mFactor; }
  int GetQuality() const { return mQuality; }
  double GetSampleRate() const { return mSampleRate; }
  int GetMaxBlock() const { return mMaxBlock; }
  // Delay of the round trip in host samples, rounded to the nearest sample; 0 when unavailable.
  int GetLatency() const { return mLatency; }
  // The oversampled path can run: factor above 1 and a working channel-0 upsampler and
  // downsampler. Without a working downsampler the path would hand the host four times too many
  // samples, so the plain path runs instead (also for blocks beyond the resamplers' limit).
  bool IsAvailable() const;

  // Up-samples, shapes and down-samples nFrames samples of one channel. A null input reads as
  // silence and non-finite samples as 0; the output is silent where the resamplers give nothing
  // and for blocks longer than the maximum block. Input and output may be the same buffer.
  void ProcessChannel(int channel, const double* input, double* output, int nFrames,
                      const ShaperCoefficients& coefficients);

  // Forgets the history of every resampler, as a freshly built engine has none. Real-time safe.
  void Clear();

private:
  struct Quality
  {
    double transBandPercent;
    double stopbandAttenDb;
  };
  static Quality QualitySettings(int quality);
  static std::unique_ptr<CDSPResampler> MakeResampler(double srcRate, double dstRate, int maxInLen,
                                                      const Quality& quality,
                                                      const DspKernels& kernels);
  static double DelayOf(const CDSPResampler& resampler);
  int ComputeLatency() const;

  int mFactor = kFactor;
  int mQuality;
  double mSampleRate;
  int mMaxBlock;
  int mLatency = 0;
  const DspKernels* mKernels;
  std::array<std::unique_ptr<CDSPResampler>, kChannels> mUpsamplers;
  std::array<std::unique_ptr<CDSPResampler>, kChannels> mDownsamplers;
  std::array<std::vector<double>, kChannels> mInputBuffers;
};

} // namespace velmora
