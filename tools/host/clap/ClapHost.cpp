#include "tools/host/clap/ClapHost.h"

#include <poll.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace velmora::host
{

using namespace clapabi;

ClapHost::ClapHost(const Options& options)
    : mOptions(options), mMainThread(std::this_thread::get_id())
{
  mRecord.clap_version = options.version;
  mRecord.host_data = this;
  mRecord.name = "velmora-host";
  mRecord.vendor = "Corvane Audio";
  mRecord.url = "";
  mRecord.version = "1.0.0";
  mRecord.get_extension = &ClapHost::GetExtension;
  mRecord.request_restart = &ClapHost::RequestRestart;
  mRecord.request_process = &ClapHost::RequestProcess;
  mRecord.request_callback = &ClapHost::RequestCallback;
}

ClapHost* ClapHost::Self(const clap_host* host)
{
  return static_cast<ClapHost*>(host->host_data);
}

void ClapHost::NoteCallThread()
{
  if (std::this_thread::get_id() != mMainThread)
    ++mCallsOffMainThread;
}

const void* ClapHost::GetExtension(const clap_host* host, const char* id)
{
  const ClapHost* self = Self(host);
  if (!id)
    return nullptr;
  if (std::strcmp(id, CLAP_EXT_PARAMS) == 0)
    return &kParams;
  if (std::strcmp(id, CLAP_EXT_LATENCY) == 0)
    return &kLatency;
  if (std::strcmp(id, CLAP_EXT_PRESET_LOAD) == 0 ||
      std::strcmp(id, CLAP_EXT_PRESET_LOAD_COMPAT) == 0)
    return &kPresetLoad;
  if ((std::strcmp(id, CLAP_EXT_TRACK_INFO) == 0 ||
       std::strcmp(id, CLAP_EXT_TRACK_INFO_COMPAT) == 0) &&
      self->mOptions.trackChannels)
    return &kTrackInfo;
  if (std::strcmp(id, CLAP_EXT_TIMER_SUPPORT) == 0 && self->mOptions.offerTimerSupport)
    return &kTimerSupport;
  if (std::strcmp(id, CLAP_EXT_POSIX_FD_SUPPORT) == 0)
    return &kPosixFdSupport;
  if (std::strcmp(id, CLAP_EXT_THREAD_CHECK) == 0)
    return &kThreadCheck;
  if (std::strcmp(id, CLAP_EXT_LOG) == 0)
    return &kLog;
  return nullptr;
}

void ClapHost::RequestRestart(const clap_host* host)
{
  ClapHost* self = Self(host);
  self->NoteCallThread();
  ++self->mRestartRequests;
  self->mRestartPending = true;
}

void ClapHost::RequestProcess(const clap_host*) {}

void ClapHost::RequestCallback(const clap_host* host)
{
  Self(host)->mCallbackPending = true;
}

bool ClapHost::TakeRestartRequest()
{
  const bool pending = mRestartPending;
  mRestartPending = false;
  return pending;
}

void ClapHost::ServiceRunLoop(const clap_plugin* plugin)
{
  if (!plugin)
    return;
  if (mCallbackPending)
  {
    mCallbackPending = false;
    plugin->on_main_thread(plugin);
  }
  if (!mTimers.empty())
  {
    const auto* timers = static_cast<const clap_plugin_timer_support*>(
        plugin->get_extension(plugin, CLAP_EXT_TIMER_SUPPORT));
    // Copied first: a timer callback may register or unregister timers.
    std::vector<clap_id> ids;
    for (const auto& [id, period] : mTimers)
      ids.push_back(id);
    for (const clap_id id : ids)
    {
      if (timers && timers->on_timer && mTimers.count(id))
        timers->on_timer(plugin, id);
    }
  }
  if (!mFds.empty())
  {
    const auto* fds = static_cast<const clap_plugin_posix_fd_support*>(
        plugin->get_extension(plugin, CLAP_EXT_POSIX_FD_SUPPORT));
    std::vector<pollfd> polled;
    for (const auto& [fd, flags] : mFds)
    {
      short events = 0;
      if (flags & CLAP_POSIX_FD_READ)
        events |= POLLIN;
      if (flags & CLAP_POSIX_FD_WRITE)
        events |= POLLOUT;
      polled.push_back({fd, events, 0});
    }
    if (fds && fds->on_fd && poll(polled.data(), polled.size(), 0) > 0)
    {
      for (const pollfd& p : polled)
      {
        clap_posix_fd_flags ready = 0;
        if (p.revents & POLLIN)
          ready |= CLAP_POSIX_FD_READ;
        if (p.revents & POLLOUT)
          ready |= CLAP_POSIX_FD_WRITE;
        if (p.revents & (POLLERR | POLLHUP))
          ready |= CLAP_POSIX_FD_ERROR;
        if (ready != 0)
          fds->on_fd(plugin, p.fd, ready);
      }
    }
  }
}

void ClapHost::ParamsRescan(const clap_host* host, uint32_t flags)
{
  ClapHost* self = Self(host);
  self->NoteCallThread();
  self->mParamRescans.push_back(flags);
}

void ClapHost::ParamsClear(const clap_host* host, clap_id, uint32_t)
{
  Self(host)->NoteCallThread();
}

void ClapHost::ParamsRequestFlush(const clap_host*) {}

void ClapHost::LatencyChanged(const clap_host* host)
{
  ClapHost* self = Self(host);
  self->NoteCallThread();
  ++self->mLatencyChanged;
}

void ClapHost::PresetOnError(const clap_host* host, uint32_t kind, const char*, const char* key,
                             int32_t osError, const char* msg)
{
  ClapHost* self = Self(host);
  self->NoteCallThread();
  self->mPresetErrors.push_back({kind, key ? key : "", osError, msg ? msg : ""});
}

void ClapHost::PresetLoaded(const clap_host* host, uint32_t, const char*, const char* key)
{
  ClapHost* self = Self(host);
  self->NoteCallThread();
  self->mPresetsLoaded.emplace_back(key ? key : "");
}

bool ClapHost::TrackInfoGet(const clap_host* host, clap_track_info* info)
{
  const ClapHost* self = Self(host);
  if (!info || !self->mOptions.trackChannels)
    return false;
  *info = clap_track_info{};
  info->flags = CLAP_TRACK_INFO_HAS_AUDIO_CHANNEL;
  info->audio_channel_count = *self->mOptions.trackChannels;
  info->audio_port_type = info->audio_channel_count == 1   ? CLAP_PORT_MONO
                          : info->audio_channel_count == 2 ? CLAP_PORT_STEREO
                                                           : nullptr;
  return true;
}

bool ClapHost::TimerRegister(const clap_host* host, uint32_t periodMs, clap_id* timerId)
{
  ClapHost* self = Self(host);
  self->NoteCallThread();
  if (!timerId)
    return false;
  *timerId = self->mNextTimerId++;
  self->mTimers[*timerId] = periodMs;
  return true;
}

bool ClapHost::TimerUnregister(const clap_host* host, clap_id timerId)
{
  ClapHost* self = Self(host);
  self->NoteCallThread();
  return self->mTimers.erase(timerId) > 0;
}

bool ClapHost::FdRegister(const clap_host* host, int fd, clap_posix_fd_flags flags)
{
  ClapHost* self = Self(host);
  self->NoteCallThread();
  return self->mFds.emplace(fd, flags).second;
}

bool ClapHost::FdModify(const clap_host* host, int fd, clap_posix_fd_flags flags)
{
  ClapHost* self = Self(host);
  self->NoteCallThread();
  const auto it = self->mFds.find(fd);
  if (it == self->mFds.end())
    return false;
  it->second = flags;
  return true;
}

bool ClapHost::FdUnregister(const clap_host* host, int fd)
{
  ClapHost* self = Self(host);
  self->NoteCallThread();
  return self->mFds.erase(fd) > 0;
}

bool ClapHost::IsMainThread(const clap_host* host)
{
  return std::this_thread::get_id() == Self(host)->mMainThread;
}

bool ClapHost::IsAudioThread(const clap_host* host)
{
  return std::this_thread::get_id() == Self(host)->mAudioThread;
}

// A command-line host shows what the plug-in logs on its error stream.
void ClapHost::Log(const clap_host*, clap_log_severity severity, const char* msg)
{
  std::fprintf(stderr, "velmora-host: plug-in log (%d): %s\n", static_cast<int>(severity),
               msg ? msg : "");
}

const clap_host_params ClapHost::kParams{&ClapHost::ParamsRescan, &ClapHost::ParamsClear,
                                         &ClapHost::ParamsRequestFlush};
const clap_host_latency ClapHost::kLatency{&ClapHost::LatencyChanged};
const clap_host_preset_load ClapHost::kPresetLoad{&ClapHost::PresetOnError,
                                                  &ClapHost::PresetLoaded};
const clap_host_track_info ClapHost::kTrackInfo{&ClapHost::TrackInfoGet};
const clap_host_timer_support ClapHost::kTimerSupport{&ClapHost::TimerRegister,
                                                      &ClapHost::TimerUnregister};
const clap_host_posix_fd_support ClapHost::kPosixFdSupport{
    &ClapHost::FdRegister, &ClapHost::FdModify, &ClapHost::FdUnregister};
const clap_host_thread_check ClapHost::kThreadCheck{&ClapHost::IsMainThread,
                                                    &ClapHost::IsAudioThread};
const clap_host_log ClapHost::kLog{&ClapHost::Log};

} // namespace velmora::host
