#pragma once

#include "framework/core/Config.h"
#include "framework/core/EParamSource.h"
#include "framework/core/IByteChunk.h"
#include "framework/core/IEditorDelegate.h"
#include "framework/core/IOConfig.h"
#include "framework/core/IParam.h"
#include "framework/core/IPreset.h"
#include "framework/core/IdleTimer.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace iplug
{

// The format-independent plug-in base: configuration, parameters, the processing context the
// format layer fills in, latency, and the virtual operations a plug-in overrides. Format wrappers
// derive from it; on its own it serves in-process hosts such as tests and the renderer.
class IPlugBase : public IEditorDelegate, public ITimerClient
{
public:
  // What a format passes to a new instance. The plain base serves in-process hosts, which may
  // listen for latency changes here in place of a host's notification.
  struct InstanceInfo
  {
    std::function<void(int)> latencyChanged;
  };

  IPlugBase(const InstanceInfo& info, const Config& config);
  ~IPlugBase() override;
  IPlugBase(const IPlugBase&) = delete;
  IPlugBase& operator=(const IPlugBase&) = delete;

  const Config& GetConfig() const { return mConfig; }
  std::string GetVersionString() const { return VersionText(mConfig.vendorVersion); }

  int NParams() const { return static_cast<int>(mParams.size()); }
  IParam* GetParam(int paramIdx);
  const IParam* GetParam(int paramIdx) const override;

  int NIOConfigs() const { return static_cast<int>(mIOConfigs.size()); }
  const IOConfig& GetIOConfig(int idx) const { return mIOConfigs.at(static_cast<size_t>(idx)); }
  bool LegalIO(int nIn, int nOut) const;

  // Processing context, set by the format layer (or a test) before reset and processing.
  double GetSampleRate() const { return mSampleRate; }
  int GetBlockSize() const { return mBlockSize; }
  bool GetRenderingOffline() const { return mRenderingOffline.load(std::memory_order_relaxed); }
  int NInChansConnected() const { return mInChansConnected; }
  int NOutChansConnected() const { return mOutChansConnected; }
  void SetSampleRate(double sampleRate);
  void SetBlockSize(int blockSize);
  void SetRenderingOffline(bool offline) { mRenderingOffline.store(offline); }
  void SetChannelConnections(int nIn, int nOut);

  // Latency in samples as the host reads it back.
  int GetLatency() const { return mLatency.load(std::memory_order_relaxed); }
  // Main thread only (never the audio thread): stores the value and tells the host through the
  // format layer.
  void SetLatency(int samples);

  // State: the parameter block is every parameter's real value as a little-endian double, in
  // index order. Serialize* append to the chunk and fail only when it cannot grow.
  // Unserialize* read from startPos, store each value constrained to its parameter (a NaN keeps
  // the current value), stop at the first value the chunk cannot hold, then run the change
  // handling for every parameter as a preset recall; they return the position after the last
  // value read, or -1 when the chunk ended first. Main thread.
  bool SerializeParams(IByteChunk& chunk) const;
  int UnserializeParams(const IByteChunk& chunk, int startPos);
  virtual bool SerializeState(IByteChunk& chunk) const { return SerializeParams(chunk); }
  virtual int UnserializeState(const IByteChunk& chunk, int startPos)
  {
    return UnserializeParams(chunk, startPos);
  }
  // Tells the editor side that a state or preset was restored: every parameter's normalised
  // value goes to the controls bound to it and through OnParamChangeUI once more.
  virtual void OnRestoreState();

  // Presets: the table has the configured number of entries, each uninitialised and named
  // "empty" at first. Restoring an uninitialised entry captures the settings in force into it;
  // restoring an initialised one brings those settings back. Main thread.
  int NPresets() const { return static_cast<int>(mPresets.size()); }
  const char* GetPresetName(int idx) const;
  bool GetPresetInitialized(int idx) const;
  int GetCurrentPresetIdx() const { return mCurrentPresetIdx; }
  bool RestorePreset(int idx);

  // The idle tick: the format layer calls it every kIdleTimerIntervalMs on the main thread. The
  // plug-in's OnIdle runs first, then the open editor's own idle step.
  void OnTimer() override;

  // Operations a plug-in overrides.
  virtual void OnReset() {}
  virtual void OnIdle() {}
  // Default: copies inputs to outputs for the connected channels.
  virtual void ProcessBlock(double** inputs, double** outputs, int nFrames);
  virtual void OnParamChange(int paramIdx, EParamSource source, int sampleOffset);
  virtual void OnParamChange(int /*paramIdx*/) {}
  // Runs both change handlers for every parameter in index order.
  virtual void OnParamReset(EParamSource source);

  // Editor delegate: converts real values for the controls, and stores edits made in the editor.
  void SendParameterValueFromDelegate(int paramIdx, double value, bool normalized) override;
  void ConstrainEditorSize(int& width, int& height) const override;
  void SendParameterValueFromUI(int paramIdx, double normalizedValue) override;
  double GetParamDefaultNormalized(int paramIdx) const override;
  // The parameter returns to its default as one edit of the user's, told to the host as a
  // gesture and shown on the open editor. Main thread.
  void ResetParamToDefaultFromUI(int paramIdx);
  // Shows every parameter's current value on the controls of the editor being opened.
  void OnUIOpen() override;

protected:
  // The format layer's half of SetLatency: tell the host the latency changed. The plain base
  // tells the in-process host's listener, if any.
  virtual void InformHostOfLatencyChange();

  std::vector<std::unique_ptr<IParam>> mParams;

private:
  Config mConfig;
  std::vector<IOConfig> mIOConfigs;
  double mSampleRate = 44100.0;
  int mBlockSize = 1024;
  int mInChansConnected = 0;
  int mOutChansConnected = 0;
  std::atomic<bool> mRenderingOffline{false};
  std::atomic<int> mLatency{0};
  std::function<void(int)> mLatencyListener;
  std::vector<IPreset> mPresets;
  int mCurrentPresetIdx = 0;
};

} // namespace iplug
