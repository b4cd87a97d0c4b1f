#pragma once

#include "dsp/AttRelEnvelope.h"
#include "dsp/DspKernelDispatch.h"
#include "dsp/Oversampler.h"
#include "dsp/ShaperCoefficients.h"
#include "framework/Plugin.h"
#include "framework/core/ISender.h"
#include "plugin/CurveDisplayLink.h"
#include "plugin/VelmoraParams.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

// The saturation and soft-clipping effect: audio processor, parameter owner and editor delegate.
class Velmora final : public iplug::Plugin
{
  static constexpr double kMeterAttackMs = 1.0;
  static constexpr double kMeterReleaseMs = 275.0;
  static constexpr double kInitialMeterRate = 44100.0;

public:
  static constexpr int kCurvePointCount = 172;
  static constexpr int kNumMeters = 4;
  static constexpr int kFadeLength = 256;
  static constexpr int kMinEngineBlock = 1024;
  static constexpr int kMeterHistoryLength = 1024;
  using MeterSender = iplug::ISender<1, 64, float>;

  explicit Velmora(const iplug::InstanceInfo& info);
  ~Velmora() override;

  using iplug::Plugin::OnParamChange;
  void OnParamChange(int paramIdx) override;
  void OnParamChangeUI(int paramIdx, iplug::EParamSource source) override;
  void OnReset() override;
  void OnIdle() override;
  // Editor hooks: opening brings the editor to the display scale stored for the product, if
  // another instance changed it, refreshes the curve and starts the meter feed; closing stores
  // the editor's scale, cuts the curve link and stops the meter feed.
  void OnUIOpen() override;
  void OnUIClose() override;

  // Main thread, for the editor layout: links the curve display (nullptr cuts the link) so that
  // curve refreshes reach it, and gives it its first points before returning. Once the link is
  // cut no refresh touches the old control.
  void LinkCurveControl(iplug::igraphics::ITransferCurveControl* control);
  // Any thread: recomputes the curve points from the coefficients in force and hands them to
  // the linked curve display; does nothing while none is linked.
  void RefreshCurve();
  // The points of the last refresh that reached a display (zeros before the first); read it
  // only while no refresh can run.
  std::span<const double> GetCurvePoints() const { return mCurvePoints; }

  // Recomputes the curve coefficients from the parameters into the record not in force and
  // publishes it.
  void UpdateCoefficients();
  // A consistent copy of the record in force; false (and out untouched) only when writers kept
  // replacing the record throughout a few attempts.
  bool TryReadCoefficients(velmora::ShaperCoefficients& out) const;

  // Audio thread. Non-finite input samples count as silence. A block of no frames, or with no
  // connected output, does nothing at all: no output, no switch progress, no meter reading.
  void ProcessBlock(double** inputs, double** outputs, int nFrames) override;

  // Asks for the oversampled path when value >= 0.5, else the plain one; fades over if needed.
  void RequestPathSwitch(double value);
  // Reset half of the path switch: ends any fade and flush at once and applies the offline rule;
  // outside offline rendering the requested path becomes the path in use.
  void ResetPathSwitch();
  // Rebuilds the oversampling engine for the current rate, block size and render mode, sizes
  // the working buffer and sets up the input-meter delay. The new engine plays from its first
  // block.
  void RebuildOversampler();
  // Followers take the current sample rate; levels go to 0.
  void ResetLevelFollowers();
  // Main thread. The level followers run and meter readings are queued only while the feed is
  // on, that is while an editor shows them; each start has the audio thread restart the
  // followers from 0 (and the input delay from silence) before their next step.
  void StartMeterFeed();
  void StopMeterFeed();
  bool IsMeterFeedOn() const { return mMeterFeedOn.load(std::memory_order_acquire); }
  // Runs the processing on another supported kernel variant (the widest is the default). Call it
  // while no block is processed; the oversampling engine takes it at the next reset.
  void UseDspKernels(const velmora::DspKernels& kernels) { mKernels = &kernels; }
  // Main thread: hands over a latency the audio thread queued after a path change; false when
  // none is pending.
  bool TakeLatencyReport(int& latency);

  bool IsOversamplingOn() const { return mOversamplingOn.load(std::memory_order_acquire); }
  bool IsOversamplingRequested() const
  {
    return mOversamplingRequested.load(std::memory_order_acquire);
  }
  bool IsPathSwitchActive() const { return mPathSwitchActive.load(std::memory_order_acquire); }
  bool IsFlushPending() const { return mFlushPending; }
  int GetOversamplingLatency() const { return mOversamplingLatency; }
  int ScratchLength() const { return static_cast<int>(mScratch.size()); }
  int GetMeterDelay() const { return mMeterDelay; }
  const velmora::Oversampler* GetOversampler() const { return mOversampler.get(); }
  // Queue k carries the readings of the meter with control tag k + 1.
  MeterSender& GetMeterSender(int index) { return mMeterSenders.at(static_cast<size_t>(index)); }

private:
  void CreateParameters();
  // Installs the editor's creation (at the stored display scale) and layout functions.
  void InstallEditorHooks();
  // Main thread: tells the host the latency unless it already has that value.
  void ReportLatencyIfChanged(int latency);
  // The curve refresh; mayWait only on the main thread (see CurveDisplayLink::Refresh).
  void HandCurveToDisplay(bool mayWait);

  bool IsEngineAvailable() const;
  // The plain or the oversampled path over the first two outputs; a block longer than the
  // working buffer is silent on either.
  void RunPath(double** inputs, double** outputs, int nOut, int nFrames, bool oversampled);
  // Audio thread, at a switch to the oversampled path: clears the resamplers and silences the
  // next engine block plus latency samples before the fade-in.
  void StartFlush();
  // Counts one block of the flush down and silences it on every output.
  void RunFlushStep(double** outputs, int nOut, int nFrames);
  void ApplyRampAndAdvanceSwitch(double** outputs, int nOut, int nFrames, bool fadingOut);
  void ChangePathAfterFadeOut();
  void FinishFadeIn();
  // The plain path and the followers in one pass, for blocks without a switch or a delay; false
  // (and nothing done) when a channel is missing or the block is longer than the working buffer.
  bool RunPlainPathWithMeters(double** inputs, double** outputs, int nOut, int nFrames);
  // Audio thread, once per block: whether the meters are fed, after restarting the followers
  // when a start asked for it.
  bool TakeMeterFeedState();
  void UpdateMeters(double** inputs, double** outputs, int nOut, int nFrames, bool delayInput);
  void FollowerCoefficients(std::array<double, kNumMeters>& attack,
                            std::array<double, kNumMeters>& release) const;
  // One reading per meter into its queue, from the levels as they stand.
  void PushMeterReadings();
  // Passes count input magnitudes of each side through the meter delay rings.
  void DelayInputMagnitudes(const double* left, const double* right, int count, double* delayedLeft,
                            double* delayedRight);
  void SetUpMeterDelay(int latency);
  const double* InputChannel(double** inputs, int channel) const;

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

  std::array<velmora::AttRelEnvelope, kNumMeters> mLevelFollowers{
      {{kMeterAttackMs, kMeterReleaseMs, kInitialMeterRate},
       {kMeterAttackMs, kMeterReleaseMs, kInitialMeterRate},
       {kMeterAttackMs, kMeterReleaseMs, kInitialMeterRate},
       {kMeterAttackMs, kMeterReleaseMs, kInitialMeterRate}}};
  std::array<double, kNumMeters> mLevels{};
  std::array<MeterSender, kNumMeters> mMeterSenders;
  std::atomic<bool> mMeterFeedOn{false};
  std::atomic<bool> mMeterRestartPending{false};

  velmora::CurveDisplayLink mCurveControl;
  std::vector<double> mCurvePoints;

  std::unique_ptr<velmora::Oversampler> mOversampler;
  std::vector<double> mScratch;
  std::atomic<bool> mOversamplingOn{false};
  std::atomic<bool> mOversamplingRequested{false};
  int32_t mOversamplingLatency = 0;
  // Atomic because a request made while rendering offline records the user's wish for the path
  // that comes back afterwards.
  std::atomic<bool> mWasOffline{false};
  std::atomic<bool> mUserOversampling{false};
  std::atomic<bool> mPathSwitchActive{false};
  std::atomic<bool> mFadingOut{true};
  std::atomic<int32_t> mFadeCountdown{0};
  bool mFlushPending = false;
  int32_t mFlushRemaining = 0;
  std::atomic<bool> mLatencyReportPending{false};
  std::atomic<int32_t> mLatencyToReport{0};
  int32_t mReportedLatency = -1;
  std::array<std::array<double, kMeterHistoryLength>, 2> mInputHistory{};
  int32_t mHistoryWrite = 0;
  int32_t mHistoryRead = 0;
  int32_t mMeterDelay = 0;

  // Held by whichever thread starts a switch (a request, or the end of a fade-in that finds a
  // newer request), so that the fade values are written by one thread only.
  std::atomic<bool> mSwitchClaimed{false};
  // The coefficient record of the current block; audio thread only.
  velmora::ShaperCoefficients mBlockCoefficients;
  const velmora::DspKernels* mKernels = &velmora::FastestDspKernels();
};
