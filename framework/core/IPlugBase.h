#pragma once

#include "framework/core/Config.h"
#include "framework/core/IEditorDelegate.h"
#include "framework/core/IOConfig.h"
#include "framework/core/IParam.h"

#include <atomic>
#include <memory>
#include <string>
#include <vector>

namespace iplug
{

// Where a parameter change came from.
enum class EParamSource
{
  kReset,
  kHost,
  kPresetRecall,
  kUI,
  kDelegate,
  kUnknown
};

// The format-independent plug-in base: configuration, parameters, the processing context the
// format layer fills in, latency, and the virtual operations a plug-in overrides. Format wrappers
// derive from it; on its own it serves in-process hosts such as tests and the renderer.
class IPlugBase : public IEditorDelegate
{
public:
  // What a format passes to a new instance; the plain base needs nothing.
  struct InstanceInfo
  {
  };

  IPlugBase(const InstanceInfo& info, const Config& config);
  ~IPlugBase() override;
  IPlugBase(const IPlugBase&) = delete;
  IPlugBase& operator=(const IPlugBase&) = delete;

  const Config& GetConfig() const { return mConfig; }
  std::string GetVersionString() const { return VersionText(mConfig.vendorVersion); }

  int NParams() const { return static_cast<int>(mParams.size()); }
  IParam* GetParam(int paramIdx);
  const IParam* GetParam(int paramIdx) const;

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
  // Main thread only: stores the value and tells the host through the format layer.
  void SetLatency(int samples);

  // Operations a plug-in overrides.
  virtual void OnReset() {}
  virtual void OnIdle() {}
  // Default: copies inputs to outputs for the connected channels.
  virtual void ProcessBlock(double** inputs, double** outputs, int nFrames);
  virtual void OnParamChange(int paramIdx, EParamSource source, int sampleOffset);
  virtual void OnParamChange(int /*paramIdx*/) {}
  virtual void OnParamChangeUI(int /*paramIdx*/, EParamSource /*source*/) {}
  // Runs both change handlers for every parameter in index order.
  virtual void OnParamReset(EParamSource source);

protected:
  // The format layer's half of SetLatency: tell the host the latency changed.
  virtual void InformHostOfLatencyChange() {}

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
};

} // namespace iplug
