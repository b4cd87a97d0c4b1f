#include "framework/clap/IPlugCLAP.h"

#include "framework/clap/ClapPlatform.h"
#include "framework/core/IdleTimer.h"

#include <cmath>
#include <cstring>
#include <new>

namespace iplug
{

using namespace clapabi;

IPlugCLAP::IPlugCLAP(const InstanceInfo& info, const Config& config)
    : IPlugBase(IPlugBase::InstanceInfo{}, config), mHost(info.host)
{
  mClapPlugin.desc = info.descriptor;
  mClapPlugin.plugin_data = this;
  mClapPlugin.init = &IPlugCLAP::ClapInit;
  mClapPlugin.destroy = &IPlugCLAP::ClapDestroy;
  mClapPlugin.activate = &IPlugCLAP::ClapActivate;
  mClapPlugin.deactivate = &IPlugCLAP::ClapDeactivate;
  mClapPlugin.start_processing = &IPlugCLAP::ClapStartProcessing;
  mClapPlugin.stop_processing = &IPlugCLAP::ClapStopProcessing;
  mClapPlugin.reset = &IPlugCLAP::ClapReset;
  mClapPlugin.process = &IPlugCLAP::ClapProcess;
  mClapPlugin.get_extension = &IPlugCLAP::ClapGetExtension;
  mClapPlugin.on_main_thread = &IPlugCLAP::ClapOnMainThread;
  mAppliedLatency.store(GetLatency());
  mCurrentIOConfig = NIOConfigs() > 0 ? NIOConfigs() - 1 : 0;
}

IPlugCLAP::~IPlugCLAP() = default;

IPlugCLAP* IPlugCLAP::Self(const clap_plugin* plugin)
{
  return plugin ? static_cast<IPlugCLAP*>(plugin->plugin_data) : nullptr;
}

bool IPlugCLAP::ClapInit(const clap_plugin* plugin)
{
  IPlugCLAP* self = Self(plugin);
  return self && self->Init();
}

void IPlugCLAP::ClapDestroy(const clap_plugin* plugin)
{
  IPlugCLAP* self = Self(plugin);
  if (!self)
    return;
  // A host that destroys the instance with its editor open gets it closed first.
  GuiDestroy(plugin);
  if (self->mHostTimerSupport && self->mTimerId != CLAP_INVALID_ID &&
      self->mHostTimerSupport->unregister_timer)
    self->mHostTimerSupport->unregister_timer(self->mHost, self->mTimerId);
  delete self;
}

bool IPlugCLAP::ClapActivate(const clap_plugin* plugin, double sampleRate, uint32_t minFrames,
                             uint32_t maxFrames)
{
  IPlugCLAP* self = Self(plugin);
  if (!self || self->mActive.load() || !std::isfinite(sampleRate) || sampleRate <= 0.0 ||
      maxFrames < 1 || minFrames > maxFrames)
    return false;
  return self->Activate(sampleRate, maxFrames);
}

void IPlugCLAP::ClapDeactivate(const clap_plugin* plugin)
{
  if (IPlugCLAP* self = Self(plugin))
  {
    self->mActive.store(false);
    self->ServiceMainThread();
  }
}

bool IPlugCLAP::ClapStartProcessing(const clap_plugin* plugin)
{
  const IPlugCLAP* self = Self(plugin);
  return self && self->mActive.load();
}

void IPlugCLAP::ClapStopProcessing(const clap_plugin*) {}

void IPlugCLAP::ClapReset(const clap_plugin* plugin)
{
  IPlugCLAP* self = Self(plugin);
  if (self && self->mActive.load())
    self->OnReset();
}

clap_process_status IPlugCLAP::ClapProcess(const clap_plugin* plugin, const clap_process* process)
{
  IPlugCLAP* self = Self(plugin);
  if (!self || !process || !self->mActive.load(std::memory_order_acquire))
    return CLAP_PROCESS_ERROR;
  return self->Process(*process);
}

const void* IPlugCLAP::ClapGetExtension(const clap_plugin* plugin, const char* id)
{
  if (!Self(plugin) || !id)
    return nullptr;
  struct Offer
  {
    const char* id;
    const void* extension;
  };
  static const Offer kOffers[] = {
      {CLAP_EXT_AUDIO_PORTS, &kAudioPortsExt},
      {CLAP_EXT_AUDIO_PORTS_CONFIG, &kAudioPortsConfigExt},
      {CLAP_EXT_PARAMS, &kParamsExt},
      {CLAP_EXT_LATENCY, &kLatencyExt},
      {CLAP_EXT_TAIL, &kTailExt},
      {CLAP_EXT_STATE, &kStateExt},
      {CLAP_EXT_PRESET_LOAD, &kPresetLoadExt},
      {CLAP_EXT_PRESET_LOAD_COMPAT, &kPresetLoadExt},
      {CLAP_EXT_RENDER, &kRenderExt},
      {CLAP_EXT_CONTEXT_MENU, &kContextMenuExt},
      {CLAP_EXT_CONTEXT_MENU_COMPAT, &kContextMenuExt},
  };
  if (std::strcmp(id, CLAP_EXT_GUI) == 0)
    return Self(plugin)->GetConfig().plugHasUI ? &kGuiExt : nullptr;
  if (clap_platform::UsesHostRunLoop())
  {
    if (std::strcmp(id, CLAP_EXT_TIMER_SUPPORT) == 0)
      return &kTimerSupportExt;
    if (std::strcmp(id, CLAP_EXT_POSIX_FD_SUPPORT) == 0)
      return &kPosixFdSupportExt;
  }
  for (const Offer& offer : kOffers)
  {
    if (std::strcmp(offer.id, id) == 0)
      return offer.extension;
  }
  return nullptr;
}

void IPlugCLAP::ClapOnMainThread(const clap_plugin* plugin)
{
  if (IPlugCLAP* self = Self(plugin))
    self->ServiceMainThread();
}

const void* IPlugCLAP::HostExtension(const char* id) const
{
  if (!mHost || !mHost->get_extension)
    return nullptr;
  return mHost->get_extension(mHost, id);
}

bool IPlugCLAP::Init()
{
  mHostParams = static_cast<const clap_host_params*>(HostExtension(CLAP_EXT_PARAMS));
  mHostLatency = static_cast<const clap_host_latency*>(HostExtension(CLAP_EXT_LATENCY));
  mHostPresetLoad = static_cast<const clap_host_preset_load*>(HostExtension(CLAP_EXT_PRESET_LOAD));
  if (!mHostPresetLoad)
    mHostPresetLoad =
        static_cast<const clap_host_preset_load*>(HostExtension(CLAP_EXT_PRESET_LOAD_COMPAT));
  mHostTimerSupport =
      static_cast<const clap_host_timer_support*>(HostExtension(CLAP_EXT_TIMER_SUPPORT));

  SelectIOConfig(InitialIOConfig());

  // The platform's own timer where it dispatches one (Windows), else the host's.
  if (!mPlatformTimer)
    mPlatformTimer = platform::StartMainThreadTimer(kIdleTimerIntervalMs, [this] { OnTimer(); });
  if (!mPlatformTimer && mHostTimerSupport && mHostTimerSupport->register_timer &&
      mTimerId == CLAP_INVALID_ID)
  {
    clap_id timerId = CLAP_INVALID_ID;
    if (mHostTimerSupport->register_timer(mHost, kIdleTimerIntervalMs, &timerId))
      mTimerId = timerId;
  }
  return true;
}

bool IPlugCLAP::Activate(double sampleRate, uint32_t maxFrames)
{
  const uint32_t sliceFrames = maxFrames < kMaxSliceFrames ? maxFrames : kMaxSliceFrames;
  try
  {
    const size_t frames = sliceFrames;
    mInputScratch.assign(frames * kMaxChannels, 0.0);
    mOutputScratch.assign(frames * kMaxChannels, 0.0);
    mSilence.assign(frames, 0.0);
  }
  catch (const std::bad_alloc&)
  {
    return false;
  }
  mSliceFrames = sliceFrames;
  SetSampleRate(sampleRate);
  SetBlockSize(static_cast<int>(sliceFrames));
  OnParamReset(EParamSource::kReset);
  OnReset();

  if (GetLatency() != mAppliedLatency.load())
  {
    mAppliedLatency.store(GetLatency());
    if (mHostLatency && mHostLatency->changed)
      mHostLatency->changed(mHost);
  }
  mRestartWanted.store(false);
  mRestartAsked = false;
  mActive.store(true, std::memory_order_release);
  return true;
}

void IPlugCLAP::InformHostOfLatencyChange()
{
  // May run on the audio thread (the host's reset call), so the host is only asked for a
  // restart later, from the main thread; the new value takes effect at the next activation.
  if (mActive.load() && GetLatency() != mAppliedLatency.load())
    mRestartWanted.store(true);
}

void IPlugCLAP::RequestRestartIfNeeded()
{
  if (!mRestartWanted.exchange(false))
    return;
  if (mActive.load() && !mRestartAsked && GetLatency() != mAppliedLatency.load() && mHost &&
      mHost->request_restart)
  {
    mRestartAsked = true;
    mHost->request_restart(mHost);
  }
}

void IPlugCLAP::OnTimer()
{
  int paramIdx = 0;
  while (mParamChanges.Pop(paramIdx))
    SendParameterValueFromDelegate(paramIdx, GetParam(paramIdx)->GetNormalized(), true);
  if (mParamChanges.TakeOverflow())
  {
    for (int i = 0; i < NParams(); ++i)
      SendParameterValueFromDelegate(i, GetParam(i)->GetNormalized(), true);
  }
  IPlugBase::OnTimer();
  RequestRestartIfNeeded();
}

void IPlugCLAP::ServiceMainThread()
{
  // Without a host timer nothing else would run the idle step, and a latency change could
  // otherwise never reach the host.
  if (mTimerId == CLAP_INVALID_ID && !mPlatformTimer)
    OnTimer();
  else
    RequestRestartIfNeeded();
}

void IPlugCLAP::TimerOnTimer(const clap_plugin* plugin, clap_id timerId)
{
  IPlugCLAP* self = Self(plugin);
  if (!self || timerId == CLAP_INVALID_ID)
    return;
  if (timerId == self->mTimerId)
    self->OnTimer();
  else if (self->mRunLoop)
    self->mRunLoop->DispatchTimer(timerId);
}

// Descriptors belong to the editor window, registered while it is open.
void IPlugCLAP::FdOnFd(const clap_plugin* plugin, int fd, clap_posix_fd_flags)
{
  IPlugCLAP* self = Self(plugin);
  if (self && self->mRunLoop)
    self->mRunLoop->DispatchFd(fd);
}

const clap_plugin_timer_support IPlugCLAP::kTimerSupportExt{&IPlugCLAP::TimerOnTimer};
const clap_plugin_posix_fd_support IPlugCLAP::kPosixFdSupportExt{&IPlugCLAP::FdOnFd};

} // namespace iplug
