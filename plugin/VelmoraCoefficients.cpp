#include "dsp/SaturationCurve.h"
#include "plugin/Velmora.h"

using velmora::ShaperCoefficients;

void Velmora::UpdateCoefficients()
{
  mUpdatePending.store(true, std::memory_order_release);
  while (mUpdatePending.load(std::memory_order_acquire))
  {
    bool idle = false;
    if (!mUpdateRunning.compare_exchange_strong(idle, true, std::memory_order_acq_rel))
      return;
    while (mUpdatePending.exchange(false, std::memory_order_acq_rel))
    {
      velmora::ShaperSettings settings;
      settings.threshold = GetParam(kThreshold)->Value();
      settings.thresholdAsym = GetParam(kThresholdAsym)->Value();
      settings.nonlinearity = GetParam(kNonlinearity)->Value();
      settings.nonlinearityAsym = GetParam(kNonlinearityAsym)->Value();
      settings.knee = GetParam(kKnee)->Value();
      settings.kneeAsym = GetParam(kKneeAsym)->Value();
      settings.modA = GetParam(kModA)->Value();
      settings.modB = GetParam(kModB)->Value();
      settings.gain = GetParam(kGain)->Value();
      settings.mix = GetParam(kMix)->Value();
      settings.output = GetParam(kOutput)->Value();
      const ShaperCoefficients record = velmora::ComputeShaperCoefficients(settings);

      // Only the writer holding mUpdateRunning changes mActiveSet.
      const int32_t target = 1 - mActiveSet.load(std::memory_order_relaxed);
      auto& sequence = mCoefficientSequence[static_cast<size_t>(target)];
      sequence.fetch_add(1, std::memory_order_relaxed);
      velmora::StoreCoefficientsRelease(record, mCoefficientSets[static_cast<size_t>(target)]);
      sequence.fetch_add(1, std::memory_order_release);
      mActiveSet.store(target, std::memory_order_release);
    }
    mUpdateRunning.store(false, std::memory_order_release);
  }
}

bool Velmora::TryReadCoefficients(ShaperCoefficients& out) const
{
  constexpr int kAttempts = 4;
  for (int attempt = 0; attempt < kAttempts; ++attempt)
  {
    const auto index = static_cast<size_t>(mActiveSet.load(std::memory_order_acquire));
    const auto& sequence = mCoefficientSequence[index];
    const uint32_t before = sequence.load(std::memory_order_acquire);
    if (before & 1u)
      continue;
    ShaperCoefficients copy;
    velmora::LoadCoefficientsAcquire(mCoefficientSets[index], copy);
    if (sequence.load(std::memory_order_relaxed) == before)
    {
      out = copy;
      return true;
    }
  }
  return false;
}
