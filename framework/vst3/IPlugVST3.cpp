#include "framework/vst3/IPlugVST3.h"

#include "framework/vst3/VST3ParameterInfo.h"
#include "framework/vst3/VST3Strings.h"

#include "pluginterfaces/vst/ivsthostapplication.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace iplug
{

namespace
{

// Larger announced blocks are refused rather than allocated for.
constexpr int32 kMaxSupportedBlockSize = 1 << 20;

template <class Interface> bool Matches(const TUID iid)
{
  return FUnknownPrivate::iidEqual(iid, Interface::iid);
}

int WidestChannelCount(const IPlugBase& plug)
{
  int widest = 0;
  for (int i = 0; i < plug.NIOConfigs(); ++i)
    widest = std::max({widest, plug.GetIOConfig(i).nIn, plug.GetIOConfig(i).nOut});
  return widest;
}

std::vector<IOConfig> CollectIOConfigs(const IPlugBase& plug)
{
  std::vector<IOConfig> configs;
  for (int i = 0; i < plug.NIOConfigs(); ++i)
    configs.push_back(plug.GetIOConfig(i));
  return configs;
}

} // namespace

IPlugVST3::IPlugVST3(const InstanceInfo&, const Config& config)
    : IPlugBase(IPlugBase::InstanceInfo{}, config), mMainThread(std::this_thread::get_id()),
      mBuses(CollectIOConfigs(*this)), mPendingRecall(NParams()), mEchoes(NParams()),
      mHostMainThread(*this, [this] { OnIdleTimer(); })
{
  SetChannelConnections(mBuses.InputChannels(), mBuses.OutputChannels());
}

IPlugVST3::~IPlugVST3() = default;

// ---- FUnknown ----

tresult PLUGIN_API IPlugVST3::queryInterface(const TUID iid, void** obj)
{
  if (!obj)
    return kInvalidArgument;
  void* found = nullptr;
  if (Matches<FUnknown>(iid) || Matches<IPluginBase>(iid) || Matches<IComponent>(iid))
    found = static_cast<IComponent*>(this);
  else if (Matches<IAudioProcessor>(iid))
    found = static_cast<IAudioProcessor*>(this);
  else if (Matches<IProcessContextRequirements>(iid))
    found = static_cast<IProcessContextRequirements*>(this);
  else if (Matches<IEditController>(iid))
    found = static_cast<IEditController*>(this);
  else if (Matches<IEditController2>(iid))
    found = static_cast<IEditController2*>(this);
  else if (Matches<IUnitInfo>(iid))
    found = static_cast<IUnitInfo*>(this);
  else if (Matches<IMidiMapping>(iid))
    found = static_cast<IMidiMapping*>(this);
  else if (Matches<IConnectionPoint>(iid))
    found = static_cast<IConnectionPoint*>(this);
  else if (Matches<ChannelContext::IInfoListener>(iid))
    found = static_cast<ChannelContext::IInfoListener*>(this);
  *obj = found;
  if (!found)
    return kNoInterface;
  addRef();
  return kResultOk;
}

uint32 PLUGIN_API IPlugVST3::addRef()
{
  return mRefCount.fetch_add(1) + 1;
}

uint32 PLUGIN_API IPlugVST3::release()
{
  const uint32 remaining = mRefCount.fetch_sub(1) - 1;
  if (remaining == 0)
    delete this;
  return remaining;
}

// ---- IPluginBase ----

tresult PLUGIN_API IPlugVST3::initialize(FUnknown* context)
{
  // Hosts may initialise the component and the controller side of this one object separately.
  if (mInitialized)
    return kResultOk;
  mInitialized = true;
  mMainThread = std::this_thread::get_id();
  mHostName.clear();
  if (context)
  {
    IHostApplication* app = nullptr;
    if (context->queryInterface(IHostApplication::iid, reinterpret_cast<void**>(&app)) ==
            kResultOk &&
        app)
    {
      String128 name{};
      if (app->getName(name) == kResultOk)
        mHostName = UTF16ToUTF8(name, 128);
      app->release();
    }
  }
  mHostMainThread.Connect(context);
  mProgramNames.clear();
  for (int i = 0; i < NPresets(); ++i)
    mProgramNames.emplace_back(GetPresetName(i));
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::terminate()
{
  mHostMainThread.Disconnect();
  mComponentHandler = nullptr;
  mInitialized = false;
  return kResultOk;
}

// ---- main-thread servicing ----

void IPlugVST3::RequestRestart(int32 flags)
{
  mPendingRestartFlags.fetch_or(flags);
  if (OnMainThread())
    DeliverPendingRestart();
}

void IPlugVST3::DeliverPendingRestart()
{
  // Without a handler the request waits: a host that sets one later hears of it then.
  if (!mComponentHandler)
    return;
  const int32 flags = mPendingRestartFlags.exchange(0);
  if (flags != 0)
    mComponentHandler->restartComponent(flags);
}

void IPlugVST3::InformHostOfLatencyChange()
{
  RequestRestart(kLatencyChanged);
}

void IPlugVST3::ApplyPendingPreset()
{
  mPendingRecall.Apply(
      {[this](int paramIdx, double normalized) { GetParam(paramIdx)->SetNormalized(normalized); },
       [this](int preset) { SelectPreset(preset); },
       [this](int paramIdx, double normalized)
       {
         GetParam(paramIdx)->SetNormalized(normalized);
         OnParamChange(paramIdx, EParamSource::kHost, -1);
         SendParameterValueFromDelegate(paramIdx, GetParam(paramIdx)->GetNormalized(), true);
       }});
}

void IPlugVST3::ServiceMainThread()
{
  if (!OnMainThread())
    return;
  ApplyPendingPreset();
  if (!mHostMainThread.HasIdleTimer())
    OnTimer();
  DeliverPendingRestart();
}

void IPlugVST3::OnIdleTimer()
{
  ApplyPendingPreset();
  OnTimer();
  DeliverPendingRestart();
}

// ---- IComponent ----

tresult PLUGIN_API IPlugVST3::getControllerClassId(TUID)
{
  return kNotImplemented;
}

tresult PLUGIN_API IPlugVST3::setIoMode(IoMode)
{
  return kNotImplemented;
}

int32 PLUGIN_API IPlugVST3::getBusCount(MediaType type, BusDirection dir)
{
  return mBuses.Count(type, dir);
}

tresult PLUGIN_API IPlugVST3::getBusInfo(MediaType type, BusDirection dir, int32 index,
                                         BusInfo& bus)
{
  return mBuses.GetInfo(type, dir, index, bus);
}

tresult PLUGIN_API IPlugVST3::getRoutingInfo(RoutingInfo&, RoutingInfo&)
{
  return kNotImplemented;
}

tresult PLUGIN_API IPlugVST3::activateBus(MediaType type, BusDirection dir, int32 index,
                                          TBool state)
{
  return mBuses.Activate(type, dir, index, state != 0);
}

tresult PLUGIN_API IPlugVST3::setActive(TBool state)
{
  ServiceMainThread();
  // Deactivation ends processing even when the host skipped setProcessing(false).
  if (!state && mProcessing.exchange(false) && mSetupDone.load())
    OnReset();
  mActive.store(state != 0);
  return kResultOk;
}

// ---- IAudioProcessor ----

tresult PLUGIN_API IPlugVST3::setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                                 SpeakerArrangement* outputs, int32 numOuts)
{
  if (mActive.load())
    return kResultFalse;
  if (!mBuses.SetArrangements(inputs, numIns, outputs, numOuts))
    return kResultFalse;
  SetChannelConnections(mBuses.InputChannels(), mBuses.OutputChannels());
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::getBusArrangement(BusDirection dir, int32 index,
                                                SpeakerArrangement& arr)
{
  return mBuses.GetArrangement(dir, index, arr);
}

tresult PLUGIN_API IPlugVST3::canProcessSampleSize(int32 symbolicSampleSize)
{
  return symbolicSampleSize == kSample32 || symbolicSampleSize == kSample64 ? kResultTrue
                                                                            : kResultFalse;
}

uint32 PLUGIN_API IPlugVST3::getLatencySamples()
{
  return static_cast<uint32>(std::max(0, GetLatency()));
}

tresult PLUGIN_API IPlugVST3::setupProcessing(ProcessSetup& setup)
{
  ServiceMainThread();
  if (mProcessing.load())
    return kResultFalse;
  if (canProcessSampleSize(setup.symbolicSampleSize) != kResultTrue ||
      setup.maxSamplesPerBlock <= 0 || setup.maxSamplesPerBlock > kMaxSupportedBlockSize ||
      !std::isfinite(setup.sampleRate) || setup.sampleRate <= 0.0)
    return kInvalidArgument;

  mSetupDone.store(false);
  mSampleSize = setup.symbolicSampleSize;
  try
  {
    mBuffers.Allocate(WidestChannelCount(*this), setup.maxSamplesPerBlock);
  }
  catch (const std::bad_alloc&)
  {
    return kOutOfMemory;
  }
  SetSampleRate(setup.sampleRate);
  SetBlockSize(setup.maxSamplesPerBlock);
  SetRenderingOffline(setup.processMode == kOffline);
  OnReset();
  mSetupDone.store(true);
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::setProcessing(TBool state)
{
  const bool wasProcessing = mProcessing.exchange(state != 0);
  if (wasProcessing && !state && mSetupDone.load())
    OnReset();
  return kResultOk;
}

bool IPlugVST3::BusBuffersUsable(const AudioBusBuffers* buses, int32 numBuses, int channels,
                                 bool doublePrecision) const
{
  if (channels == 0)
    return true;
  if (!buses || numBuses < 1 || buses[0].numChannels < channels)
    return false;
  for (int c = 0; c < channels; ++c)
  {
    const bool present = doublePrecision
                             ? buses[0].channelBuffers64 && buses[0].channelBuffers64[c]
                             : buses[0].channelBuffers32 && buses[0].channelBuffers32[c];
    if (!present)
      return false;
  }
  return true;
}

tresult PLUGIN_API IPlugVST3::process(ProcessData& data)
{
  if (!mSetupDone.load(std::memory_order_acquire) || !mActive.load(std::memory_order_relaxed))
    return kNotInitialized;
  if (data.symbolicSampleSize != mSampleSize || data.numSamples < 0 ||
      data.numSamples > mBuffers.Capacity())
    return kInvalidArgument;

  const bool doublePrecision = mSampleSize == kSample64;
  if (data.numSamples > 0)
  {
    // A host may leave out the input bus; it then counts as silence.
    const bool inputsOk =
        data.numInputs == 0 ||
        BusBuffersUsable(data.inputs, data.numInputs, mBuses.InputChannels(), doublePrecision);
    if (!inputsOk ||
        !BusBuffersUsable(data.outputs, data.numOutputs, mBuses.OutputChannels(), doublePrecision))
      return kInvalidArgument;
  }

  SetRenderingOffline(data.processMode == kOffline);
  mCurrentData = &data;
  mEchoes.BlockStarting(data.inputParameterChanges);
  mSplitter.Run(data.inputParameterChanges, data.numSamples, *this);
  mCurrentData = nullptr;
  mEchoes.BlockDone();
  FlagSilentOutputs(data);
  return kResultOk;
}

void IPlugVST3::FlagSilentOutputs(ProcessData& data) const
{
  if (data.numOutputs < 1 || !data.outputs)
    return;
  AudioBusBuffers& bus = data.outputs[0];
  bus.silenceFlags = 0;
  if (data.numSamples < 1)
    return;
  const auto frames = static_cast<size_t>(data.numSamples);
  const auto isZero = [](auto sample) { return sample == 0; };
  for (int c = 0; c < mBuses.OutputChannels() && c < 64; ++c)
  {
    const bool silent =
        mSampleSize == kSample64
            ? std::all_of(bus.channelBuffers64[c], bus.channelBuffers64[c] + frames, isZero)
            : std::all_of(bus.channelBuffers32[c], bus.channelBuffers32[c] + frames, isZero);
    if (silent)
      bus.silenceFlags |= uint64{1} << c;
  }
}

void IPlugVST3::ApplyParamChange(ParamID id, ParamValue value, int32 sampleOffset)
{
  // A copy of a value the controller already applied is not stored again.
  const bool copy = mEchoes.IsCopy(id);
  if (!std::isfinite(value))
    return;
  if (id == kBypassParamId)
  {
    if (!copy)
      mBypass.store(value >= 0.5);
  }
  else if (id == kPresetParamId)
  {
    if (!copy)
      mPendingRecall.Arrived(PresetIndexFromNormalized(value, NPresets()));
  }
  else if (IParam* param = GetParam(static_cast<int>(id)); param && id < kBypassParamId)
  {
    // The sound follows the values in force either way.
    if (!copy)
    {
      mPendingRecall.EditArrived(static_cast<int>(id), value, param->GetNormalized());
      param->SetNormalized(value);
    }
    OnParamChange(static_cast<int>(id), EParamSource::kHost, sampleOffset);
  }
}

void IPlugVST3::ProcessSegment(int32 start, int32 length)
{
  ProcessData& data = *mCurrentData;
  const bool doublePrecision = mSampleSize == kSample64;
  const int nIn = mBuses.InputChannels();
  const int nOut = mBuses.OutputChannels();
  const bool haveInput = data.numInputs > 0;
  const auto frames = static_cast<size_t>(length);
  double** inputs = mBuffers.InputPointers();
  double** outputs = mBuffers.OutputPointers();

  for (int c = 0; c < nIn; ++c)
  {
    if (!haveInput)
      inputs[c] = mBuffers.Silence();
    else if (doublePrecision)
      inputs[c] = data.inputs[0].channelBuffers64[c] + start;
    else
    {
      const float* source = data.inputs[0].channelBuffers32[c] + start;
      std::copy(source, source + frames, mBuffers.Input(c));
      inputs[c] = mBuffers.Input(c);
    }
  }
  for (int c = 0; c < nOut; ++c)
    outputs[c] = doublePrecision ? data.outputs[0].channelBuffers64[c] + start : mBuffers.Output(c);

  if (IsBypassed())
  {
    for (int c = 0; c < nOut; ++c)
    {
      const double* source = c < nIn ? inputs[c] : mBuffers.Silence();
      if (source != outputs[c])
        std::memmove(outputs[c], source, sizeof(double) * frames);
    }
  }
  else
    ProcessBlock(inputs, outputs, length);

  if (!doublePrecision)
  {
    for (int c = 0; c < nOut; ++c)
    {
      float* dest = data.outputs[0].channelBuffers32[c] + start;
      std::transform(outputs[c], outputs[c] + frames, dest,
                     [](double sample) { return static_cast<float>(sample); });
    }
  }
}

uint32 PLUGIN_API IPlugVST3::getTailSamples()
{
  return kNoTail;
}

uint32 PLUGIN_API IPlugVST3::getProcessContextRequirements()
{
  return 0;
}

// ---- IConnectionPoint, IInfoListener, IMidiMapping ----

tresult PLUGIN_API IPlugVST3::connect(IConnectionPoint* other)
{
  return other ? kResultOk : kInvalidArgument;
}

tresult PLUGIN_API IPlugVST3::disconnect(IConnectionPoint*)
{
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::notify(IMessage*)
{
  return kResultFalse;
}

tresult PLUGIN_API IPlugVST3::setChannelContextInfos(IAttributeList*)
{
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::getMidiControllerAssignment(int32, int16, CtrlNumber, ParamID&)
{
  return kResultFalse;
}

} // namespace iplug
