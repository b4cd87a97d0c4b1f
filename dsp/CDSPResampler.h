#pragma once

#include "dsp/DspKernelDispatch.h"

#include <memory>
#include <vector>

namespace velmora
{

enum class EPhaseResponse
{
  Linear,
  Minimum
};

// Resamples a 64-bit stream by exactly 4 (up) or 1/4 (down) with two cascaded 2x FIR stages,
// designed at construction for the requested transition band and stop-band attenuation.
//
// The output is not trimmed: every block of n input samples gives 4n (up) or, counting the samples
// carried over from earlier blocks, n/4 (down) output samples, and the filters' delay stays in the
// stream. That delay, in input samples, is getInLenBeforeOutPos(0) + getLatencyFrac(). An up- and
// a down-sampler built with the same rates, band, attenuation and phase response are designed as a
// pair: the upsampler's delay U plus a quarter of the downsampler's delay D is a whole number of
// samples at the lower rate, so a round trip delays low frequencies by exactly U + D / 4.
//
// Arguments that do not describe such a resampler (another ratio, non-finite or non-positive
// rates, maxInLen outside 1..kMaxInLen, band or attenuation outside their ranges) give an object
// that is not valid: process() returns 0 with a null output and the latency queries return 0.
// The filters run on the given kernel variant, by default the widest this processor has.
class CDSPResampler
{
public:
  static constexpr int kMaxInLen = 1 << 20;
  static constexpr double kMinTransBandPercent = 0.5;
  static constexpr double kMaxTransBandPercent = 45.0;
  static constexpr double kMinStopbandAttenDb = 40.0;
  static constexpr double kMaxStopbandAttenDb = 200.0;

  CDSPResampler(double srcRate, double dstRate, int maxInLen, double transBandPercent,
                double stopbandAttenDb, EPhaseResponse phase,
                const DspKernels& kernels = FastestDspKernels());
  ~CDSPResampler();

  CDSPResampler(const CDSPResampler&) = delete;
  CDSPResampler& operator=(const CDSPResampler&) = delete;

  bool IsValid() const { return mCascade != nullptr; }

  // Filters length samples (1..maxInLen) and points output at the produced samples, which stay
  // valid until the next call. Returns their count; 0 for a refused call. Real-time safe.
  int process(const double* input, int length, double*& output);

  // Forgets all history, as if freshly constructed.
  void clear();

  // Input samples that pass before output sample pos (at the output rate) carries the input's
  // start: the integer part of the delay plus pos converted to input samples.
  int getInLenBeforeOutPos(int pos) const;

  // The fractional part of the delay, in input samples, 0 <= frac < 1.
  double getLatencyFrac() const;

  // The largest count process() can return.
  int getMaxOutLen() const { return static_cast<int>(mOutput.size()); }

private:
  class Cascade;

  std::unique_ptr<Cascade> mCascade;
  std::vector<double> mOutput;
  int mMaxInLen = 0;
  double mInPerOut = 0.0;
  double mLatency = 0.0;
};

} // namespace velmora
