#include "dsp/SampleSanitising.h"
#include "dsp/ScopedFlushDenormals.h"
#include "plugin/Velmora.h"

#include <algorithm>
#include <array>

void Velmora::ProcessBlock(double** inputs, double** outputs, int nFrames)
{
  const velmora::ScopedFlushDenormals flushDenormals;
  const int nOut = outputs == nullptr ? 0 : NOutChansConnected();
  if (nOut <= 0 || nFrames <= 0)
    return;

  const bool meters = TakeMeterFeedState();
  const bool switchActive = mPathSwitchActive.load(std::memory_order_acquire);
  const bool oversamplingOn = mOversamplingOn.load(std::memory_order_acquire);
  const bool fadingOut = mFadingOut.load(std::memory_order_acquire);
  // Keeps the previous block's record when writers kept replacing it throughout the read.
  TryReadCoefficients(mBlockCoefficients);
  const bool engineAvailable = IsEngineAvailable();

  // A flush only ever follows the fade-out that turned the oversampled path on.
  const bool silenced = mFlushPending;
  if (silenced)
  {
    RunFlushStep(outputs, nOut, nFrames);
    // The fade-in starts with the block after the one that ends the flush.
    if (!mFlushPending && switchActive && !fadingOut &&
        mFadeCountdown.load(std::memory_order_acquire) == 0)
      mFadeCountdown.store(kFadeLength, std::memory_order_release);
  }
  else if (meters && !oversamplingOn && !switchActive &&
           RunPlainPathWithMeters(inputs, outputs, nOut, nFrames))
  {
    PushMeterReadings();
    return;
  }
  else
  {
    RunPath(inputs, outputs, nOut, nFrames, oversamplingOn && engineAvailable);
    if (switchActive)
      ApplyRampAndAdvanceSwitch(outputs, nOut, nFrames, fadingOut);
  }

  if (meters)
    UpdateMeters(inputs, outputs, nOut, nFrames, oversamplingOn && mMeterDelay >= 1);
}

void Velmora::RunPath(double** inputs, double** outputs, int nOut, int nFrames, bool oversampled)
{
  const int covered = std::min(nOut, 2);
  for (int c = 0; c < covered; ++c)
  {
    double* output = outputs[c];
    if (output == nullptr)
      continue;
    if (nFrames > ScratchLength())
    {
      std::fill(output, output + nFrames, 0.0);
      continue;
    }
    if (oversampled)
    {
      mOversampler->ProcessChannel(c, InputChannel(inputs, c), output, nFrames, mBlockCoefficients);
      continue;
    }
    const double* input = InputChannel(inputs, c);
    if (input == nullptr)
    {
      velmora::CopyFinite(input, mScratch.data(), nFrames);
      input = mScratch.data();
    }
    mKernels->shape(input, output, nFrames, mBlockCoefficients,
                    velmora::SampleGuard::ZeroNonFiniteInput);
  }
}

bool Velmora::RunPlainPathWithMeters(double** inputs, double** outputs, int nOut, int nFrames)
{
  const int covered = std::min(nOut, 2);
  std::array<const double*, 2> in{};
  std::array<double*, 2> out{};
  for (int c = 0; c < covered; ++c)
  {
    in[static_cast<size_t>(c)] = InputChannel(inputs, c);
    out[static_cast<size_t>(c)] = outputs[c];
    if (in[static_cast<size_t>(c)] == nullptr || out[static_cast<size_t>(c)] == nullptr)
      return false;
  }
  if (nFrames > ScratchLength())
    return false;
  std::array<double, kNumMeters> attack{};
  std::array<double, kNumMeters> release{};
  FollowerCoefficients(attack, release);
  mKernels->shapeAndFollow(in.data(), out.data(), covered, nFrames, mBlockCoefficients,
                           attack.data(), release.data(), mLevels.data());
  return true;
}

const double* Velmora::InputChannel(double** inputs, int channel) const
{
  if (inputs == nullptr || channel >= NInChansConnected())
    return nullptr;
  return inputs[channel];
}
