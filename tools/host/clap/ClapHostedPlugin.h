#pragma once

#include "framework/clap/ClapCore.h"
#include "framework/clap/ClapExtensions.h"
#include "tools/host/HostedPlugin.h"
#include "tools/host/ProcessGate.h"
#include "tools/host/SpscQueue.h"
#include "tools/host/clap/ClapEditRecorder.h"
#include "tools/host/clap/ClapEventList.h"
#include "tools/host/clap/ClapHost.h"
#include "tools/host/clap/ClapModule.h"

#include <atomic>
#include <memory>
#include <string>
#include <vector>

namespace velmora::host
{

// One instance of a CLAP module's first plug-in, driven as a CLAP host drives it. The module's
// entry stays initialised while the instance lives. The events the plug-in sends back from
// process and flush become the host's record of edits; a flush it asks for runs on the main
// thread while the instance is not active, and with the next block while it is.
class ClapHostedPlugin final : public HostedPlugin
{
public:
  // Opens the module, initialises its entry, creates and initialises the instance.
  static std::unique_ptr<ClapHostedPlugin> Load(const std::string& path, std::string& error,
                                                const ClapHost::Options& options = {});
  ~ClapHostedPlugin() override;

  std::string DescribeAsJson() override;
  std::vector<HostParamInfo> Parameters() override;
  bool Start(const ProcessSetup& setup, std::string& error) override;
  void Stop() override;
  bool Process(std::vector<double*>& channels, int nFrames,
               const std::vector<HostParamChange>& changes) override;
  int Latency() override;
  int LatencyReports() const override { return mHost->LatencyChangedCount(); }
  // While processing, a change waits for the next block; otherwise it goes through a flush.
  bool SetParameter(uint32_t id, double value) override;
  double GetParameter(uint32_t id) override;
  std::string TextFromValue(uint32_t id, double value) override;
  bool ValueFromText(uint32_t id, const std::string& text, double& value) override;
  bool SaveState(std::vector<uint8_t>& state) override;
  bool LoadState(const std::vector<uint8_t>& state) override;
  // Runs the host's run loop once: callbacks and timers, then the plug-in's requests: a flush,
  // a restart (deactivate and activate again with the same setup).
  void Idle() override;
  std::string FormatName() const override { return "CLAP"; }
  bool OpenEditor(NativeWindow parent, std::optional<double> scale, std::string& error) override;
  bool EditorOpen() const override { return mEditorOpen; }
  std::optional<HostEditorSize> EditorSize() override;
  void CloseEditor() override;
  void SetResizeHandler(std::function<void(const HostEditorSize&)> handler) override
  {
    mResizeHandler = std::move(handler);
  }
  std::vector<HostEditorSize> ResizeRequests() const override { return mResizeRequests; }
  std::vector<HostEdit> TakeEdits() override { return mEditRecorder.Take(); }
  void RunEventLoop(std::chrono::milliseconds duration,
                    const std::function<bool()>& done = {}) override;
  HostRunLoopCounts RunLoopRegistrations() const override
  {
    return {mHost->Timers().size(), mHost->FdCount()};
  }

  // The raw instance and host, for callers that speak CLAP themselves.
  const clapabi::clap_plugin* Plugin() const { return mPlugin; }
  ClapHost& Host() { return *mHost; }
  const ClapModule& Module() const { return *mModule; }
  template <typename T> const T* Extension(const char* id) const
  {
    return static_cast<const T*>(mPlugin->get_extension(mPlugin, id));
  }
  bool IsActive() const { return mActive; }
  // Sends one block with the given events; the status the plug-in returned.
  clapabi::clap_process_status ProcessEvents(std::vector<double*>& channels, int nFrames,
                                             const ClapEventList& events);

private:
  ClapHostedPlugin(std::unique_ptr<ClapModule> module, std::unique_ptr<ClapHost> host,
                   const clapabi::clap_plugin* plugin);
  bool SelectChannels(int channels);
  // One block, once the process gate has let the caller in.
  clapabi::clap_process_status ProcessAdmitted(std::vector<double*>& channels, int nFrames,
                                               const ClapEventList& events);
  // The plug-in's requests that the main thread carries out.
  void ServiceRequests();
  bool OnResizeRequest(uint32_t width, uint32_t height);
  void DestroyEditor();

  std::unique_ptr<ClapModule> mModule;
  std::unique_ptr<ClapHost> mHost;
  const clapabi::clap_plugin* mPlugin;
  ProcessSetup mSetup;
  std::atomic<bool> mActive{false};
  ProcessGate mGate;
  int64_t mSteadyTime = 0;
  ClapEventList mEvents;
  ClapEditRecorder mEditRecorder;
  // Main-thread values on their way to the next block.
  SpscQueue<HostParamChange> mToProcessor{1024};
  std::vector<double> mInput64;
  std::vector<float> mInput32;
  std::vector<float> mOutput32;
  std::vector<double*> mInPtrs64;
  std::vector<float*> mInPtrs32;
  std::vector<float*> mOutPtrs32;

  const clapabi::clap_plugin_gui* mGui = nullptr;
  bool mEditorOpen = false;
  std::function<void(const HostEditorSize&)> mResizeHandler;
  std::vector<HostEditorSize> mResizeRequests;
};

} // namespace velmora::host
