#pragma once

#include "framework/clap/ClapCore.h"
#include "framework/clap/ClapExtensions.h"
#include "tools/host/RunLoop.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace velmora::host
{

// The host side of one CLAP instance: the clap_host record with the extensions the plug-in
// calls, the main-thread run loop that serves its timers and descriptors, and a record of every
// call the plug-in made, for the host to act on and tests to read. Everything runs on the thread
// that created it (the host's main thread) except what the processing thread does, which it
// announces with MarkAudioThread(), and the calls CLAP allows from any thread (restart, process,
// callback and flush requests, resize requests), which are handed to the main thread.
class ClapHost
{
public:
  struct PresetError
  {
    uint32_t locationKind = 0;
    std::string loadKey;
    int32_t osError = 0;
    std::string message;
  };

  struct Options
  {
    clapabi::clap_version version = clapabi::CLAP_VERSION;
    // The track's channel count given through track information; none: not offered.
    std::optional<int> trackChannels;
    bool offerTimerSupport = true;
    bool offerPosixFdSupport = true;
    bool offerGui = true;
    // "clap.context-menu" and what its can_popup answers; none: not offered.
    std::optional<bool> contextMenuCanPopup;
  };

  // A menu the plug-in asked the host to pop up (whether or not the host could).
  struct MenuPopup
  {
    clapabi::clap_context_menu_target target{};
    int32_t screenIndex = 0;
    int32_t x = 0;
    int32_t y = 0;
  };

  // What the plug-in's editor asked of the host's "clap.gui", besides resizing.
  struct GuiCalls
  {
    int resizeHintsChanged = 0;
    int showRequests = 0;
    int hideRequests = 0;
    int closed = 0;
  };

  // Resizes the host's window and tells the plug-in; answers whether the size was taken.
  using ResizeHandler = std::function<bool(uint32_t width, uint32_t height)>;

  explicit ClapHost(const Options& options);
  ClapHost(const ClapHost&) = delete;
  ClapHost& operator=(const ClapHost&) = delete;

  const clapabi::clap_host* Record() const { return &mRecord; }
  // The instance the run loop serves; set before the instance's init.
  void AttachPlugin(const clapabi::clap_plugin* plugin) { mPlugin = plugin; }
  void MarkAudioThread() { mAudioThread.store(std::this_thread::get_id()); }

  // Runs the host's main-thread loop once: due callbacks, the thread's window messages (on
  // Windows), every registered timer and every registered descriptor that is ready.
  void ServiceRunLoop();
  // Runs the loop in real time for the duration, or until done answers true. The owner's work
  // runs once per pass, after the plug-in's callback requests.
  void RunFor(std::chrono::milliseconds duration, const std::function<bool()>& done = {});
  void SetPassWork(std::function<void()> work) { mPassWork = std::move(work); }
  void SetResizeHandler(ResizeHandler handler) { mResizeHandler = std::move(handler); }

  bool TakeRestartRequest() { return mRestartPending.exchange(false); }
  bool TakeFlushRequest() { return mFlushRequested.exchange(false); }
  // True once after the plug-in reported its editor destroyed; the host must then destroy it.
  bool TakeGuiDestroyed() { return mGuiDestroyed.exchange(false); }

  // What the plug-in asked of the host.
  const std::vector<uint32_t>& ParamRescans() const { return mParamRescans; }
  int LatencyChangedCount() const { return mLatencyChanged; }
  const std::vector<PresetError>& PresetErrors() const { return mPresetErrors; }
  const std::vector<std::string>& PresetsLoaded() const { return mPresetsLoaded; }
  const std::map<clapabi::clap_id, uint32_t>& Timers() const { return mTimers; }
  size_t FdCount() const { return mLoop.FdCount(); }
  int RestartRequests() const { return mRestartRequests.load(); }
  int FlushRequests() const { return mFlushRequests.load(); }
  const GuiCalls& Gui() const { return mGuiCalls; }
  const std::vector<MenuPopup>& MenuPopups() const { return mMenuPopups; }
  // Host calls the plug-in made from a thread other than the main thread.
  int CallsOffMainThread() const { return mCallsOffMainThread.load(); }

private:
  static ClapHost* Self(const clapabi::clap_host* host);
  bool OnMainThread() const { return std::this_thread::get_id() == mMainThread; }
  void NoteCallThread();
  // The plug-in's requests that wait for the main thread.
  void ServiceRequests();
  void OnTimer(clapabi::clap_id id) const;
  void OnFd(int fd, RunLoop::FdEvents ready) const;

  static const void* GetExtension(const clapabi::clap_host* host, const char* id);
  static void RequestRestart(const clapabi::clap_host* host);
  static void RequestProcess(const clapabi::clap_host* host);
  static void RequestCallback(const clapabi::clap_host* host);

  static void ParamsRescan(const clapabi::clap_host* host, uint32_t flags);
  static void ParamsClear(const clapabi::clap_host* host, clapabi::clap_id id, uint32_t flags);
  static void ParamsRequestFlush(const clapabi::clap_host* host);
  static void LatencyChanged(const clapabi::clap_host* host);
  static void PresetOnError(const clapabi::clap_host* host, uint32_t kind, const char* location,
                            const char* key, int32_t osError, const char* msg);
  static void PresetLoaded(const clapabi::clap_host* host, uint32_t kind, const char* location,
                           const char* key);
  static bool TrackInfoGet(const clapabi::clap_host* host, clapabi::clap_track_info* info);
  static bool TimerRegister(const clapabi::clap_host* host, uint32_t periodMs,
                            clapabi::clap_id* timerId);
  static bool TimerUnregister(const clapabi::clap_host* host, clapabi::clap_id timerId);
  static bool FdRegister(const clapabi::clap_host* host, int fd,
                         clapabi::clap_posix_fd_flags flags);
  static bool FdModify(const clapabi::clap_host* host, int fd, clapabi::clap_posix_fd_flags flags);
  static bool FdUnregister(const clapabi::clap_host* host, int fd);
  static void GuiResizeHintsChanged(const clapabi::clap_host* host);
  static bool GuiRequestResize(const clapabi::clap_host* host, uint32_t width, uint32_t height);
  static bool GuiRequestShow(const clapabi::clap_host* host);
  static bool GuiRequestHide(const clapabi::clap_host* host);
  static void GuiClosed(const clapabi::clap_host* host, bool wasDestroyed);
  static bool IsMainThread(const clapabi::clap_host* host);
  static bool IsAudioThread(const clapabi::clap_host* host);
  static void Log(const clapabi::clap_host* host, clapabi::clap_log_severity severity,
                  const char* msg);
  static bool MenuPopulate(const clapabi::clap_host* host,
                           const clapabi::clap_context_menu_target* target,
                           const clapabi::clap_context_menu_builder* builder);
  static bool MenuPerform(const clapabi::clap_host* host,
                          const clapabi::clap_context_menu_target* target,
                          clapabi::clap_id actionId);
  static bool MenuCanPopup(const clapabi::clap_host* host);
  static bool MenuShowPopup(const clapabi::clap_host* host,
                            const clapabi::clap_context_menu_target* target, int32_t screenIndex,
                            int32_t x, int32_t y);

  static const clapabi::clap_host_params kParams;
  static const clapabi::clap_host_latency kLatency;
  static const clapabi::clap_host_preset_load kPresetLoad;
  static const clapabi::clap_host_track_info kTrackInfo;
  static const clapabi::clap_host_timer_support kTimerSupport;
  static const clapabi::clap_host_posix_fd_support kPosixFdSupport;
  static const clapabi::clap_host_gui kGui;
  static const clapabi::clap_host_thread_check kThreadCheck;
  static const clapabi::clap_host_log kLog;
  static const clapabi::clap_host_context_menu kContextMenu;

  // A resize request made off the main thread: width in the high, height in the low 32 bits.
  static constexpr uint64_t kNoResize = UINT64_MAX;

  Options mOptions;
  clapabi::clap_host mRecord{};
  const clapabi::clap_plugin* mPlugin = nullptr;
  std::thread::id mMainThread;
  std::atomic<std::thread::id> mAudioThread;
  RunLoop mLoop;
  std::function<void()> mPassWork;
  ResizeHandler mResizeHandler;

  std::vector<uint32_t> mParamRescans;
  int mLatencyChanged = 0;
  std::vector<PresetError> mPresetErrors;
  std::vector<std::string> mPresetsLoaded;
  std::map<clapabi::clap_id, uint32_t> mTimers;
  // The run loop's identifier of each timer.
  std::map<clapabi::clap_id, uint32_t> mTimerLoopIds;
  clapabi::clap_id mNextTimerId = 1;
  GuiCalls mGuiCalls;
  std::vector<MenuPopup> mMenuPopups;
  std::atomic<int> mRestartRequests{0};
  std::atomic<bool> mRestartPending{false};
  std::atomic<bool> mCallbackPending{false};
  std::atomic<int> mFlushRequests{0};
  std::atomic<bool> mFlushRequested{false};
  std::atomic<bool> mGuiDestroyed{false};
  std::atomic<uint64_t> mPendingResize{kNoResize};
  std::atomic<int> mCallsOffMainThread{0};
};

} // namespace velmora::host
