#pragma once

#include "framework/clap/ClapCore.h"
#include "framework/clap/ClapExtensions.h"
#include "framework/clap/ClapHostRunLoop.h"
#include "framework/clap/ClapParamChangeQueue.h"
#include "framework/clap/ClapUIEditQueue.h"
#include "framework/core/IPlugBase.h"
#include "framework/platform/MainThreadTimer.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace iplug
{

// The CLAP wrapper: presents a plug-in base to a CLAP host through the clap_plugin record it
// embeds and the extensions the plug-in offers. The record's plugin_data points at this object;
// the host's destroy call deletes it.
class IPlugCLAP : public IPlugBase
{
public:
  struct InstanceInfo
  {
    const clapabi::clap_host* host = nullptr;
    const clapabi::clap_plugin_descriptor* descriptor = nullptr;
  };

  // Blocks longer than this are processed in slices, so buffers sized at activation suffice
  // whatever frame counts a host announces or sends.
  static constexpr uint32_t kMaxSliceFrames = 8192;
  static constexpr int kMaxChannels = 8;

  IPlugCLAP(const InstanceInfo& info, const Config& config);
  ~IPlugCLAP() override;

  const clapabi::clap_plugin* GetClapPlugin() const { return &mClapPlugin; }

  // Hands parameter changes of the processing side to the editor side, then runs the idle step.
  void OnTimer() override;

  // Editor edits, queued for the host's next process or flush, and size changes.
  void BeginInformHostOfParamChangeFromUI(int paramIdx) override;
  void SendParameterValueFromUI(int paramIdx, double normalizedValue) override;
  void EndInformHostOfParamChangeFromUI(int paramIdx) override;
  bool EditorResizeFromUI(int width, int height) override;
  // Through the host's "clap.context-menu" when it can pop a menu up.
  bool PopupHostContextMenuForParam(int paramIdx, int x, int y) override;

  // The action id of the plug-in's "Reset to default" item in a host's menu for a parameter.
  static constexpr clapabi::clap_id kResetToDefaultAction = 1;

protected:
  void InformHostOfLatencyChange() override;

private:
  static IPlugCLAP* Self(const clapabi::clap_plugin* plugin);

  // clap_plugin calls.
  static bool ClapInit(const clapabi::clap_plugin* plugin);
  static void ClapDestroy(const clapabi::clap_plugin* plugin);
  static bool ClapActivate(const clapabi::clap_plugin* plugin, double sampleRate,
                           uint32_t minFrames, uint32_t maxFrames);
  static void ClapDeactivate(const clapabi::clap_plugin* plugin);
  static bool ClapStartProcessing(const clapabi::clap_plugin* plugin);
  static void ClapStopProcessing(const clapabi::clap_plugin* plugin);
  static void ClapReset(const clapabi::clap_plugin* plugin);
  static clapabi::clap_process_status ClapProcess(const clapabi::clap_plugin* plugin,
                                                  const clapabi::clap_process* process);
  static const void* ClapGetExtension(const clapabi::clap_plugin* plugin, const char* id);
  static void ClapOnMainThread(const clapabi::clap_plugin* plugin);

  // Audio ports and their configurations.
  static uint32_t PortsCount(const clapabi::clap_plugin* plugin, bool isInput);
  static bool PortsGet(const clapabi::clap_plugin* plugin, uint32_t index, bool isInput,
                       clapabi::clap_audio_port_info* info);
  static uint32_t PortsConfigCount(const clapabi::clap_plugin* plugin);
  static bool PortsConfigGet(const clapabi::clap_plugin* plugin, uint32_t index,
                             clapabi::clap_audio_ports_config* config);
  static bool PortsConfigSelect(const clapabi::clap_plugin* plugin, clapabi::clap_id configId);

  // Parameters.
  static uint32_t ParamsCount(const clapabi::clap_plugin* plugin);
  static bool ParamsGetInfo(const clapabi::clap_plugin* plugin, uint32_t index,
                            clapabi::clap_param_info* info);
  static bool ParamsGetValue(const clapabi::clap_plugin* plugin, clapabi::clap_id id,
                             double* value);
  static bool ParamsValueToText(const clapabi::clap_plugin* plugin, clapabi::clap_id id,
                                double value, char* buffer, uint32_t capacity);
  static bool ParamsTextToValue(const clapabi::clap_plugin* plugin, clapabi::clap_id id,
                                const char* text, double* value);
  static void ParamsFlush(const clapabi::clap_plugin* plugin, const clapabi::clap_input_events* in,
                          const clapabi::clap_output_events* out);

  // Latency, tail, render mode, timers and file descriptors.
  static uint32_t LatencyGet(const clapabi::clap_plugin* plugin);
  static uint32_t TailGet(const clapabi::clap_plugin* plugin);
  static bool RenderHasHardRealtimeRequirement(const clapabi::clap_plugin* plugin);
  static bool RenderSet(const clapabi::clap_plugin* plugin, clapabi::clap_plugin_render_mode mode);
  static void TimerOnTimer(const clapabi::clap_plugin* plugin, clapabi::clap_id timerId);
  static void FdOnFd(const clapabi::clap_plugin* plugin, int fd,
                     clapabi::clap_posix_fd_flags flags);

  // The editor window.
  static bool GuiIsApiSupported(const clapabi::clap_plugin* plugin, const char* api,
                                bool isFloating);
  static bool GuiGetPreferredApi(const clapabi::clap_plugin* plugin, const char** api,
                                 bool* isFloating);
  static bool GuiCreate(const clapabi::clap_plugin* plugin, const char* api, bool isFloating);
  static void GuiDestroy(const clapabi::clap_plugin* plugin);
  static bool GuiSetScale(const clapabi::clap_plugin* plugin, double scale);
  static bool GuiGetSize(const clapabi::clap_plugin* plugin, uint32_t* width, uint32_t* height);
  static bool GuiCanResize(const clapabi::clap_plugin* plugin);
  static bool GuiGetResizeHints(const clapabi::clap_plugin* plugin,
                                clapabi::clap_gui_resize_hints* hints);
  static bool GuiAdjustSize(const clapabi::clap_plugin* plugin, uint32_t* width, uint32_t* height);
  static bool GuiSetSize(const clapabi::clap_plugin* plugin, uint32_t width, uint32_t height);
  static bool GuiSetParent(const clapabi::clap_plugin* plugin, const clapabi::clap_window* window);
  static bool GuiSetTransient(const clapabi::clap_plugin* plugin,
                              const clapabi::clap_window* window);
  static void GuiSuggestTitle(const clapabi::clap_plugin* plugin, const char* title);
  static bool GuiShow(const clapabi::clap_plugin* plugin);
  static bool GuiHide(const clapabi::clap_plugin* plugin);

  // The plug-in's items in the host's context menu.
  static bool ContextMenuPopulate(const clapabi::clap_plugin* plugin,
                                  const clapabi::clap_context_menu_target* target,
                                  const clapabi::clap_context_menu_builder* builder);
  static bool ContextMenuPerform(const clapabi::clap_plugin* plugin,
                                 const clapabi::clap_context_menu_target* target,
                                 clapabi::clap_id actionId);

  // State and preset loading.
  static bool StateSave(const clapabi::clap_plugin* plugin, const clapabi::clap_ostream* stream);
  static bool StateLoad(const clapabi::clap_plugin* plugin, const clapabi::clap_istream* stream);
  static bool PresetLoadFromLocation(const clapabi::clap_plugin* plugin, uint32_t locationKind,
                                     const char* location, const char* loadKey);

  static const clapabi::clap_plugin_audio_ports kAudioPortsExt;
  static const clapabi::clap_plugin_audio_ports_config kAudioPortsConfigExt;
  static const clapabi::clap_plugin_params kParamsExt;
  static const clapabi::clap_plugin_latency kLatencyExt;
  static const clapabi::clap_plugin_tail kTailExt;
  static const clapabi::clap_plugin_state kStateExt;
  static const clapabi::clap_plugin_preset_load kPresetLoadExt;
  static const clapabi::clap_plugin_render kRenderExt;
  static const clapabi::clap_plugin_timer_support kTimerSupportExt;
  static const clapabi::clap_plugin_posix_fd_support kPosixFdSupportExt;
  static const clapabi::clap_plugin_gui kGuiExt;
  static const clapabi::clap_plugin_context_menu kContextMenuExt;

  // Instance behaviour behind the calls above.
  bool Init();
  bool Activate(double sampleRate, uint32_t maxFrames);
  clapabi::clap_process_status Process(const clapabi::clap_process& process);
  void ProcessSlice(const clapabi::clap_process& process, uint32_t offset, uint32_t nFrames);
  void ApplyEvent(const clapabi::clap_event_header* header, int sampleOffset);
  void ApplyEvents(const clapabi::clap_input_events* in);
  void SelectIOConfig(int idx);
  int InitialIOConfig() const;
  bool FillPortInfo(bool isInput, clapabi::clap_audio_port_info& info) const;
  bool SaveState(const clapabi::clap_ostream& stream) const;
  bool LoadState(const clapabi::clap_istream& stream);
  bool LoadPreset(uint32_t locationKind, const char* location, const char* loadKey);
  // Main-thread work that must not wait for the timer when the host has none; run by the
  // main-thread calls a host makes often (latency, parameter values, state, deactivation).
  void ServiceMainThread();
  void RequestRestartIfNeeded();
  void QueueUIEdit(ClapUIEditQueue::Kind kind, int paramIdx, double value);
  // Hands the queued editor edits to the host as gesture and value events.
  void WriteUIEdits(const clapabi::clap_output_events* out);
  const void* HostExtension(const char* id) const;
  // The parameter a context-menu target names; null for other targets.
  const IParam* ContextMenuParam(const clapabi::clap_context_menu_target* target) const;

  // Continuous parameters travel normalised; on/off and stepped ones in real units.
  static bool UsesRealRange(const IParam& param);

  clapabi::clap_plugin mClapPlugin{};
  const clapabi::clap_host* mHost = nullptr;
  const clapabi::clap_host_params* mHostParams = nullptr;
  const clapabi::clap_host_latency* mHostLatency = nullptr;
  const clapabi::clap_host_preset_load* mHostPresetLoad = nullptr;
  const clapabi::clap_host_timer_support* mHostTimerSupport = nullptr;
  clapabi::clap_id mTimerId = clapabi::CLAP_INVALID_ID;
  // The idle timer where the platform dispatches it (Windows), from init to destroy.
  std::unique_ptr<platform::MainThreadTimer> mPlatformTimer;
  const clapabi::clap_host_gui* mHostGui = nullptr;
  // The editor's registrations on the host's run loop, from gui create to destroy.
  std::unique_ptr<ClapHostRunLoop> mRunLoop;
  bool mGuiCreated = false;
  ClapUIEditQueue mUIEdits;

  int mCurrentIOConfig = 0;
  std::atomic<bool> mActive{false};
  uint32_t mSliceFrames = 0;
  // The latency the host was last told; GetLatency() may hold a newer, pending value.
  std::atomic<int> mAppliedLatency{0};
  // A restart is wanted (set from any thread) and has been asked of the host (main thread).
  std::atomic<bool> mRestartWanted{false};
  bool mRestartAsked = false;

  ClapParamChangeQueue mParamChanges;
  // Buffers standing in for 32-bit or missing host channels; sized at activation.
  std::vector<double> mInputScratch;
  std::vector<double> mOutputScratch;
  std::vector<double> mSilence;
};

} // namespace iplug
