#include "dsp/ShaperCoefficients.h"

#include <atomic>

namespace velmora
{
namespace
{

constexpr double ShaperCoefficients::*kFields[] = {
    &ShaperCoefficients::drive,          &ShaperCoefficients::outputGain,
    &ShaperCoefficients::polyAmount,     &ShaperCoefficients::polyDry,
    &ShaperCoefficients::polyScale,      &ShaperCoefficients::polyHalf,
    &ShaperCoefficients::sineAmount,     &ShaperCoefficients::sineDry,
    &ShaperCoefficients::upperThreshold, &ShaperCoefficients::lowerThreshold,
    &ShaperCoefficients::upperKneeEnd,   &ShaperCoefficients::lowerKneeEnd,
    &ShaperCoefficients::upperRatio,     &ShaperCoefficients::lowerRatio,
    &ShaperCoefficients::dryGain,        &ShaperCoefficients::wetGain,
};
static_assert(sizeof(kFields) / sizeof(kFields[0]) * sizeof(double) == sizeof(ShaperCoefficients));

} // namespace

void LoadCoefficientsAcquire(const ShaperCoefficients& source, ShaperCoefficients& destination)
{
  // atomic_ref needs a non-const referent; the load never writes.
  auto& shared = const_cast<ShaperCoefficients&>(source);
  for (const auto field : kFields)
    destination.*field = std::atomic_ref<double>(shared.*field).load(std::memory_order_acquire);
}

void StoreCoefficientsRelease(const ShaperCoefficients& source, ShaperCoefficients& destination)
{
  for (const auto field : kFields)
    std::atomic_ref<double>(destination.*field).store(source.*field, std::memory_order_release);
}

} // namespace velmora
