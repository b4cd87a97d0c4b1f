#include "tools/host/clap/ClapHost.h"

#include <cstdio>
#include <cstring>

namespace velmora::host
{

using namespace clapabi;

ClapHost::ClapHost(const Options& options)
    : mOptions(options), mMainThread(std::this_thread::get_id())
{
  mLoop.SetPassHook(
      [this]
      {
        ServiceRequests();
        if (mPassWork)
          mPassWork();
      });
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
  // Only where the host's loop watches descriptors: Windows hosts do not.
  if (std::strcmp(id, CLAP_EXT_POSIX_FD_SUPPORT) == 0 && self->mOptions.offerPosixFdSupport &&
      RunLoop::WatchesFds())
    return &kPosixFdSupport;
  if (std::strcmp(id, CLAP_EXT_GUI) == 0 && self->mOptions.offerGui)
    return &kGui;
  if (std::strcmp(id, CLAP_EXT_THREAD_CHECK) == 0)
    return &kThreadCheck;
  if (std::strcmp(id, CLAP_EXT_LOG) == 0)
    return &kLog;
  if ((std::strcmp(id, CLAP_EXT_CONTEXT_MENU) == 0 ||
       std::strcmp(id, CLAP_EXT_CONTEXT_MENU_COMPAT) == 0) &&
      self->mOptions.contextMenuCanPopup)
    return &kContextMenu;
  return nullptr;
}

// The host has no items of its own to add or perform.
bool ClapHost::MenuPopulate(const clap_host*, const clap_context_menu_target*,
                            const clap_context_menu_builder*)
{
  return true;
}

bool ClapHost::MenuPerform(const clap_host*, const clap_context_menu_target*, clap_id)
{
  return false;
}

bool ClapHost::MenuCanPopup(const clap_host* host)
{
  return Self(host)->mOptions.contextMenuCanPopup.value_or(false);
}

// Records the request instead of showing a menu; refused where the host said it cannot.
bool ClapHost::MenuShowPopup(const clap_host* host, const clap_context_menu_target* target,
                             int32_t screenIndex, int32_t x, int32_t y)
{
  ClapHost* self = Self(host);
  self->NoteCallThread();
  MenuPopup popup;
  if (target)
    popup.target = *target;
  popup.screenIndex = screenIndex;
  popup.x = x;
  popup.y = y;
  self->mMenuPopups.push_back(popup);
  return self->mOptions.contextMenuCanPopup.value_or(false);
}

void ClapHost::RequestRestart(const clap_host* host)
{
  ClapHost* self = Self(host);
  self->NoteCallThread();
  ++self->mRestartRequests;
  self->mRestartPending = true;
  self->mLoop.Wake();
}

void ClapHost::RequestProcess(const clap_host*) {}

void ClapHost::RequestCallback(const clap_host* host)
{
  ClapHost* self = Self(host);
  self->mCallbackPending = true;
  self->mLoop.Wake();
}

void ClapHost::ServiceRequests()
{
  if (mCallbackPending.exchange(false) && mPlugin)
    mPlugin->on_main_thread(mPlugin);
  const uint64_t resize = mPendingResize.exchange(kNoResize);
  if (resize != kNoResize && mResizeHandler)
    mResizeHandler(static_cast<uint32_t>(resize >> 32), static_cast<uint32_t>(resize));
}

void ClapHost::ServiceRunLoop()
{
  ServiceRequests();
  mLoop.DispatchMessages();
  mLoop.FireEveryTimer();
  mLoop.ServeReadyFds();
}

void ClapHost::RunFor(std::chrono::milliseconds duration, const std::function<bool()>& done)
{
  mLoop.RunFor(duration, done);
}

void ClapHost::OnTimer(clap_id id) const
{
  const auto* timers = mPlugin ? static_cast<const clap_plugin_timer_support*>(
                                     mPlugin->get_extension(mPlugin, CLAP_EXT_TIMER_SUPPORT))
                               : nullptr;
  if (timers && timers->on_timer)
    timers->on_timer(mPlugin, id);
}

void ClapHost::OnFd(int fd, RunLoop::FdEvents ready) const
{
  const auto* fds = mPlugin ? static_cast<const clap_plugin_posix_fd_support*>(
                                  mPlugin->get_extension(mPlugin, CLAP_EXT_POSIX_FD_SUPPORT))
                            : nullptr;
  if (!fds || !fds->on_fd)
    return;
  clap_posix_fd_flags flags = 0;
  if (ready & RunLoop::kFdReadable)
    flags |= CLAP_POSIX_FD_READ;
  if (ready & RunLoop::kFdWritable)
    flags |= CLAP_POSIX_FD_WRITE;
  if (ready & RunLoop::kFdFailed)
    flags |= CLAP_POSIX_FD_ERROR;
  fds->on_fd(mPlugin, fd, flags);
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

void ClapHost::ParamsRequestFlush(const clap_host* host)
{
  ClapHost* self = Self(host);
  ++self->mFlushRequests;
  self->mFlushRequested = true;
  self->mLoop.Wake();
}

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
  const clap_id id = self->mNextTimerId;
  const uint32_t loopId = self->mLoop.AddTimer(periodMs, [self, id] { self->OnTimer(id); });
  if (loopId == 0)
    return false;
  ++self->mNextTimerId;
  self->mTimers[id] = periodMs;
  self->mTimerLoopIds[id] = loopId;
  *timerId = id;
  return true;
}

bool ClapHost::TimerUnregister(const clap_host* host, clap_id timerId)
{
  ClapHost* self = Self(host);
  self->NoteCallThread();
  const auto it = self->mTimerLoopIds.find(timerId);
  if (it == self->mTimerLoopIds.end())
    return false;
  self->mLoop.RemoveTimer(it->second);
  self->mTimerLoopIds.erase(it);
  self->mTimers.erase(timerId);
  return true;
}

namespace
{

RunLoop::FdEvents WatchedEvents(clap_posix_fd_flags flags)
{
  RunLoop::FdEvents events = 0;
  if (flags & CLAP_POSIX_FD_READ)
    events |= RunLoop::kFdReadable;
  if (flags & CLAP_POSIX_FD_WRITE)
    events |= RunLoop::kFdWritable;
  return events;
}

} // namespace

bool ClapHost::FdRegister(const clap_host* host, int fd, clap_posix_fd_flags flags)
{
  ClapHost* self = Self(host);
  self->NoteCallThread();
  return self->mLoop.WatchFd(fd, WatchedEvents(flags),
                             [self, fd](RunLoop::FdEvents ready) { self->OnFd(fd, ready); });
}

bool ClapHost::FdModify(const clap_host* host, int fd, clap_posix_fd_flags flags)
{
  ClapHost* self = Self(host);
  self->NoteCallThread();
  return self->mLoop.ChangeFd(fd, WatchedEvents(flags));
}

bool ClapHost::FdUnregister(const clap_host* host, int fd)
{
  ClapHost* self = Self(host);
  self->NoteCallThread();
  return self->mLoop.UnwatchFd(fd);
}

void ClapHost::GuiResizeHintsChanged(const clap_host* host)
{
  ClapHost* self = Self(host);
  self->NoteCallThread();
  ++self->mGuiCalls.resizeHintsChanged;
}

bool ClapHost::GuiRequestResize(const clap_host* host, uint32_t width, uint32_t height)
{
  ClapHost* self = Self(host);
  if (width == 0 || height == 0)
    return false;
  if (self->OnMainThread())
    return self->mResizeHandler && self->mResizeHandler(width, height);
  // The window is resized on the main thread; the latest request wins.
  self->mPendingResize = (static_cast<uint64_t>(width) << 32) | height;
  self->mLoop.Wake();
  return true;
}

bool ClapHost::GuiRequestShow(const clap_host* host)
{
  ClapHost* self = Self(host);
  self->NoteCallThread();
  ++self->mGuiCalls.showRequests;
  return true;
}

bool ClapHost::GuiRequestHide(const clap_host* host)
{
  ClapHost* self = Self(host);
  self->NoteCallThread();
  ++self->mGuiCalls.hideRequests;
  return true;
}

void ClapHost::GuiClosed(const clap_host* host, bool wasDestroyed)
{
  ClapHost* self = Self(host);
  self->NoteCallThread();
  ++self->mGuiCalls.closed;
  if (wasDestroyed)
  {
    self->mGuiDestroyed = true;
    self->mLoop.Wake();
  }
}

bool ClapHost::IsMainThread(const clap_host* host)
{
  return Self(host)->OnMainThread();
}

bool ClapHost::IsAudioThread(const clap_host* host)
{
  return std::this_thread::get_id() == Self(host)->mAudioThread.load();
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
const clap_host_gui ClapHost::kGui{&ClapHost::GuiResizeHintsChanged, &ClapHost::GuiRequestResize,
                                   &ClapHost::GuiRequestShow, &ClapHost::GuiRequestHide,
                                   &ClapHost::GuiClosed};
const clap_host_thread_check ClapHost::kThreadCheck{&ClapHost::IsMainThread,
                                                    &ClapHost::IsAudioThread};
const clap_host_log ClapHost::kLog{&ClapHost::Log};
const clap_host_context_menu ClapHost::kContextMenu{&ClapHost::MenuPopulate, &ClapHost::MenuPerform,
                                                    &ClapHost::MenuCanPopup,
                                                    &ClapHost::MenuShowPopup};

} // namespace velmora::host
