#pragma once

#include "framework/clap/ClapCore.h"
#include "framework/clap/ClapExtensions.h"
#include "tools/host/HostedPlugin.h"
#include "tools/host/clap/ClapEventList.h"
#include "tools/host/clap/ClapHost.h"
#include "tools/host/clap/ClapModule.h"

#include <memory>
#include <string>
#include <vector>

namespace velmora::host
{

// One instance of a CLAP module's first plug-in, driven as a CLAP host drives it. The module's
// entry stays initialised while the instance lives.
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
  // While processing, a change waits for the next block; otherwise it goes through a flush.
  bool SetParameter(uint32_t id, double value) override;
  double GetParameter(uint32_t id) override;
  std::string TextFromValue(uint32_t id, double value) override;
  bool ValueFromText(uint32_t id, const std::string& text, double& value) override;
  bool SaveState(std::vector<uint8_t>& state) override;
  bool LoadState(const std::vector<uint8_t>& state) override;
  // Runs the host's run loop once: callbacks and timers, then a restart the plug-in asked for
  // (deactivate and activate again with the same setup).
  void Idle() override;

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

  std::unique_ptr<ClapModule> mModule;
  std::unique_ptr<ClapHost> mHost;
  const clapabi::clap_plugin* mPlugin;
  ProcessSetup mSetup;
  bool mActive = false;
  int64_t mSteadyTime = 0;
  ClapEventList mEvents;
  std::vector<HostParamChange> mPendingChanges;
  std::vector<double> mInput64;
  std::vector<float> mInput32;
  std::vector<float> mOutput32;
  std::vector<double*> mInPtrs64;
  std::vector<float*> mInPtrs32;
  std::vector<float*> mOutPtrs32;
};

} // namespace velmora::host
