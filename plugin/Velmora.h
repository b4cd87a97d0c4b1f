#pragma once

#include "dsp/ShaperCoefficients.h"
#include "framework/Plugin.h"
#include "plugin/VelmoraParams.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <vector>

// The saturation and soft-clipping effect: audio processor, parameter owner and editor delegate.
class Velmora final : public iplug::Plugin
{
public:
  static constexpr int kCurvePointCount = 172;

  explicit Velmora(const iplug::InstanceInfo& info);
  ~Velmora() override;

  using iplug::Plugin::OnParamChange;
  void OnParamChange(int paramIdx) override;

  // Recomputes the curve coefficients from the parameters into the record not in force and
  // publishes it.
  void UpdateCoefficients();
  // A consistent copy of the record in force; false (and out untouched) only when writers kept
  // replacing the record throughout a few attempts.
  bool TryReadCoefficients(velmora::ShaperCoefficients& out) const;

private:
  void CreateParameters();

  // The double-buffered curve coefficients. Each record carries a sequence count, odd while a
  // writer fills it, so a reader that raced a second update in a row can tell its copy is torn
  // and read again instead of waiting for the writer.
  std::array<velmora::ShaperCoefficients, 2> mCoefficientSets{};
  std::atomic<int32_t> mActiveSet{0};
  std::array<std::atomic<uint32_t>, 2> mCoefficientSequence{};
  // Serialises writers without waiting: a writer that finds another at work leaves its change
  // for that one to pick up, since every update recomputes from all current parameter values.
  std::atomic<bool> mUpdateRunning{false};
  std::atomic<bool> mUpdatePending{false};

  std::vector<double> mCurvePoints;

  std::atomic<bool> mOversamplingOn{false};
  std::atomic<bool> mOversamplingRequested{false};
};
