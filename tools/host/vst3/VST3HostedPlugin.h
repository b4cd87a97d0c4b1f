#pragma once

#include "tools/host/HostedPlugin.h"
#include "tools/host/vst3/VST3ComponentHandler.h"
#include "tools/host/vst3/VST3HostContext.h"
#include "tools/host/vst3/VST3Module.h"
#include "tools/host/vst3/VST3ParameterChanges.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"

#include <memory>
#include <string>
#include <vector>

namespace velmora::host::vst3
{

// One instance of a module's first audio-effect class, driven as a host drives it: created
// through the factory, initialised with a host context (application name, run loop) and a
// component handler, set up, activated, processed, and torn down in reverse order.
class VST3HostedPlugin final : public HostedPlugin
{
public:
  // Without offerRunLoop the host context offers no Linux run loop.
  static std::unique_ptr<VST3HostedPlugin> Create(std::shared_ptr<VST3Module> module,
                                                  const std::string& hostName, std::string& error,
                                                  bool offerRunLoop = true);
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
  bool SetParameter(uint32_t id, double value) override;
  double GetParameter(uint32_t id) override;
  std::string TextFromValue(uint32_t id, double value) override;
  bool ValueFromText(uint32_t id, const std::string& text, double& value) override;
  bool SaveState(std::vector<uint8_t>& state) override;
  bool LoadState(const std::vector<uint8_t>& state) override;
  void Idle() override;

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

private:
  VST3HostedPlugin() = default;

  std::shared_ptr<VST3Module> mModule;
  Steinberg::IPtr<VST3HostContext> mContext;
  Steinberg::IPtr<VST3ComponentHandler> mHandler;
  Steinberg::IPtr<Steinberg::Vst::IComponent> mComponent;
  Steinberg::IPtr<Steinberg::Vst::IAudioProcessor> mProcessor;
  Steinberg::IPtr<Steinberg::Vst::IEditController> mController;
  Steinberg::PClassInfo2 mClassInfo;
  bool mInitialized = false;

  ProcessSetup mSetup;
  bool mActive = false;
  Steinberg::int64 mProjectTime = 0;
  Steinberg::tresult mLastProcessResult = Steinberg::kResultOk;
  VST3ParameterChanges mChanges;
  std::vector<std::vector<double>> mIn64;
  std::vector<std::vector<double>> mOut64;
  std::vector<std::vector<float>> mIn32;
  std::vector<std::vector<float>> mOut32;
};

} // namespace velmora::host::vst3
