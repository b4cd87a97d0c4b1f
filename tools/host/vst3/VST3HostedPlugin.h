#pragma once

#include "tools/host/HostedPlugin.h"
#include "tools/host/ProcessGate.h"
#include "tools/host/SpscQueue.h"
#include "tools/host/vst3/VST3ComponentHandler.h"
#include "tools/host/vst3/VST3HostContext.h"
#include "tools/host/vst3/VST3Module.h"
#include "tools/host/vst3/VST3ParameterChanges.h"
#include "tools/host/vst3/VST3PlugFrame.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"

#include <atomic>
#include <memory>
#include <string>
#include <vector>

namespace velmora::host::vst3
{

// One instance of a module's first audio-effect class, driven as a host drives it: created
// through the factory, initialised with a host context (application name, run loop) and a
// component handler, set up, activated, processed, and torn down in reverse order. Values set on
// the main thread, by the host or by the plug-in's editor, also reach the processor as
// parameter changes of the next block.
class VST3HostedPlugin final : public HostedPlugin
{
public:
  static std::unique_ptr<VST3HostedPlugin>
  Create(std::shared_ptr<VST3Module> module, const std::string& hostName, std::string& error,
         RunLoopOffer runLoopOffer = RunLoopOffer::ContextAndFrame);
  ~VST3HostedPlugin() override;
  VST3HostedPlugin(const VST3HostedPlugin&) = delete;
  VST3HostedPlugin& operator=(const VST3HostedPlugin&) = delete;

  std::string DescribeAsJson() override;
  std::vector<HostParamInfo> Parameters() override;
  bool Start(const ProcessSetup& setup, std::string& error) override;
  void Stop() override;
  bool Process(std::vector<double*>& channels, int nFrames,
               const std::vector<HostParamChange>& changes) override;
  int Latency() override;
  int LatencyReports() const override;
  bool SetParameter(uint32_t id, double value) override;
  double GetParameter(uint32_t id) override;
  std::string TextFromValue(uint32_t id, double value) override;
  bool ValueFromText(uint32_t id, const std::string& text, double& value) override;
  bool SaveState(std::vector<uint8_t>& state) override;
  bool LoadState(const std::vector<uint8_t>& state) override;
  void Idle() override;
  std::string FormatName() const override { return "VST3"; }
  bool OpenEditor(NativeWindow parent, std::optional<double> scale, std::string& error) override;
  bool EditorOpen() const override { return mView != nullptr; }
  std::optional<HostEditorSize> EditorSize() override;
  void CloseEditor() override;
  void SetResizeHandler(std::function<void(const HostEditorSize&)> handler) override
  {
    mResizeHandler = std::move(handler);
  }
  std::vector<HostEditorSize> ResizeRequests() const override { return mResizeRequests; }
  std::vector<HostEdit> TakeEdits() override { return mHandler->TakeEdits(); }
  void RunEventLoop(std::chrono::milliseconds duration,
                    const std::function<bool()>& done = {}) override;
  HostRunLoopCounts RunLoopRegistrations() const override
  {
    return {mContext->TimerCount(), mContext->EventHandlerCount()};
  }

  // The raw interfaces and host objects, for callers that probe the module directly.
  VST3Module& Module() { return *mModule; }
  Steinberg::Vst::IComponent& Component() { return *mComponent; }
  Steinberg::Vst::IAudioProcessor& Processor() { return *mProcessor; }
  Steinberg::Vst::IEditController& Controller() { return *mController; }
  VST3HostContext& Context() { return *mContext; }
  VST3ComponentHandler& Handler() { return *mHandler; }
  const Steinberg::PClassInfo2& ClassInfo() const { return mClassInfo; }
  // The result code of the last process call.
  Steinberg::tresult LastProcessResult() const { return mLastProcessResult; }
  // The silence flags of the output bus after the last process call; the host flags each input
  // channel that is all zeros, as hosts do.
  Steinberg::uint64 LastOutputSilenceFlags() const { return mLastOutputSilenceFlags; }
  // The open editor's view, or null.
  Steinberg::IPlugView* View() const { return mView; }

private:
  VST3HostedPlugin() = default;
  // Hands a main-thread value to the processor with the next block, while processing.
  void ForwardToProcessor(uint32_t id, double value);
  void OnResizeRequest(int width, int height);

  std::shared_ptr<VST3Module> mModule;
  Steinberg::IPtr<VST3HostContext> mContext;
  Steinberg::IPtr<VST3ComponentHandler> mHandler;
  Steinberg::IPtr<Steinberg::Vst::IComponent> mComponent;
  Steinberg::IPtr<Steinberg::Vst::IAudioProcessor> mProcessor;
  Steinberg::IPtr<Steinberg::Vst::IEditController> mController;
  Steinberg::PClassInfo2 mClassInfo;
  bool mInitialized = false;

  ProcessSetup mSetup;
  std::atomic<bool> mActive{false};
  ProcessGate mGate;
  Steinberg::int64 mProjectTime = 0;
  Steinberg::tresult mLastProcessResult = Steinberg::kResultOk;
  Steinberg::uint64 mLastOutputSilenceFlags = 0;
  VST3ParameterChanges mChanges;
  SpscQueue<HostParamChange> mToProcessor{1024};
  std::vector<std::vector<double>> mIn64;
  std::vector<std::vector<double>> mOut64;
  std::vector<std::vector<float>> mIn32;
  std::vector<std::vector<float>> mOut32;
  std::vector<double*> mIn64Ptrs;
  std::vector<double*> mOut64Ptrs;
  std::vector<float*> mIn32Ptrs;
  std::vector<float*> mOut32Ptrs;

  Steinberg::IPtr<Steinberg::IPlugView> mView;
  Steinberg::IPtr<VST3PlugFrame> mFrame;
  std::function<void(const HostEditorSize&)> mResizeHandler;
  std::vector<HostEditorSize> mResizeRequests;
};

} // namespace velmora::host::vst3
