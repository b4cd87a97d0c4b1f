#pragma once

#include "framework/clap/ClapCore.h"
#include "framework/clap/ClapExtensions.h"

#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace velmora::host
{

// The host side of one CLAP instance: the clap_host record with the extensions the plug-in
// calls, and a record of every call the plug-in made, for the host to act on and tests to read.
// Everything runs on the thread that created it (the host's main thread) except what the
// processing thread does, which it announces with MarkAudioThread().
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
  };

  explicit ClapHost(const Options& options);
  ClapHost(const ClapHost&) = delete;
  ClapHost& operator=(const ClapHost&) = delete;

  const clapabi::clap_host* Record() const { return &mRecord; }
  void MarkAudioThread() { mAudioThread = std::this_thread::get_id(); }

  // Runs the host's main-thread loop once for the plug-in: due callbacks, every registered
  // timer and every registered descriptor that is ready.
  void ServiceRunLoop(const clapabi::clap_plugin* plugin);

  bool TakeRestartRequest();

  // What the plug-in asked of the host.
  const std::vector<uint32_t>& ParamRescans() const { return mParamRescans; }
  int LatencyChangedCount() const { return mLatencyChanged; }
  const std::vector<PresetError>& PresetErrors() const { return mPresetErrors; }
  const std::vector<std::string>& PresetsLoaded() const { return mPresetsLoaded; }
  const std::map<clapabi::clap_id, uint32_t>& Timers() const { return mTimers; }
  int RestartRequests() const { return mRestartRequests; }
  // Host calls the plug-in made from a thread other than the main thread.
  int CallsOffMainThread() const { return mCallsOffMainThread; }

private:
  static ClapHost* Self(const clapabi::clap_host* host);
  void NoteCallThread();

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
  static bool IsMainThread(const clapabi::clap_host* host);
  static bool IsAudioThread(const clapabi::clap_host* host);
  static void Log(const clapabi::clap_host* host, clapabi::clap_log_severity severity,
                  const char* msg);

  static const clapabi::clap_host_params kParams;
  static const clapabi::clap_host_latency kLatency;
  static const clapabi::clap_host_preset_load kPresetLoad;
  static const clapabi::clap_host_track_info kTrackInfo;
  static const clapabi::clap_host_timer_support kTimerSupport;
  static const clapabi::clap_host_posix_fd_support kPosixFdSupport;
  static const clapabi::clap_host_thread_check kThreadCheck;
  static const clapabi::clap_host_log kLog;

  Options mOptions;
  clapabi::clap_host mRecord{};
  std::thread::id mMainThread;
  std::thread::id mAudioThread;

  std::vector<uint32_t> mParamRescans;
  int mLatencyChanged = 0;
  std::vector<PresetError> mPresetErrors;
  std::vector<std::string> mPresetsLoaded;
  std::map<clapabi::clap_id, uint32_t> mTimers;
  clapabi::clap_id mNextTimerId = 1;
  std::map<int, clapabi::clap_posix_fd_flags> mFds;
  int mRestartRequests = 0;
  bool mRestartPending = false;
  bool mCallbackPending = false;
  int mCallsOffMainThread = 0;
};

} // namespace velmora::host
