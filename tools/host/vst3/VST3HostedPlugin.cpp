#include "tools/host/vst3/VST3HostedPlugin.h"

#include "framework/vst3/VST3Strings.h"
#include "tools/host/EditorEmbedding.h"
#include "tools/host/JsonWriter.h"
#include "tools/host/vst3/VST3MemoryStream.h"

#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"
#include "pluginterfaces/vst/ivstunits.h"
#include "pluginterfaces/vst/vstspeaker.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace velmora::host::vst3
{

namespace
{

template <class Interface> IPtr<Interface> Query(FUnknown* object)
{
  Interface* found = nullptr;
  if (!object ||
      object->queryInterface(Interface::iid, reinterpret_cast<void**>(&found)) != kResultOk)
    return nullptr;
  return owned(found);
}

std::string HexBytes(const char* bytes, size_t count)
{
  std::string text;
  char pair[3];
  for (size_t i = 0; i < count; ++i)
  {
    std::snprintf(pair, sizeof(pair), "%02X", static_cast<unsigned char>(bytes[i]));
    text += pair;
  }
  return text;
}

std::string FixedText(const char* field, size_t width)
{
  return std::string(field, strnlen(field, width));
}

template <size_t N> std::string FixedText(const char (&field)[N])
{
  return FixedText(field, N);
}

// Sizes the per-channel buffers and points the pointer array at them.
template <class Sample>
void SizeBuffers(std::vector<std::vector<Sample>>& buffers, std::vector<Sample*>& pointers,
                 int channels, int frames)
{
  buffers.resize(static_cast<size_t>(channels));
  pointers.resize(static_cast<size_t>(channels));
  for (size_t c = 0; c < buffers.size(); ++c)
  {
    buffers[c].assign(static_cast<size_t>(frames), 0);
    pointers[c] = buffers[c].data();
  }
}

void DescribeBuses(JsonWriter& json, IComponent& component, MediaType type, BusDirection dir)
{
  json.BeginArray();
  for (int32 i = 0; i < component.getBusCount(type, dir); ++i)
  {
    BusInfo info{};
    if (component.getBusInfo(type, dir, i, info) != kResultOk)
      continue;
    json.BeginObject()
        .Key("name")
        .String(iplug::UTF16ToUTF8(info.name, 128))
        .Key("channels")
        .Integer(info.channelCount)
        .Key("main")
        .Bool(info.busType == kMain)
        .EndObject();
  }
  json.EndArray();
}

} // namespace

std::unique_ptr<VST3HostedPlugin> VST3HostedPlugin::Create(std::shared_ptr<VST3Module> module,
                                                           const std::string& hostName,
                                                           std::string& error,
                                                           RunLoopOffer runLoopOffer)
{
  std::unique_ptr<VST3HostedPlugin> plugin(new VST3HostedPlugin());
  plugin->mModule = std::move(module);
  IPluginFactory& factory = plugin->mModule->Factory();
  IPtr<IPluginFactory2> factory2 = Query<IPluginFactory2>(&factory);

  bool found = false;
  for (int32 i = 0; i < factory.countClasses() && !found; ++i)
  {
    PClassInfo2 info;
    if (factory2 && factory2->getClassInfo2(i, &info) == kResultOk)
      found = FixedText(info.category) == kVstAudioEffectClass;
    else
    {
      PClassInfo plain;
      if (factory.getClassInfo(i, &plain) == kResultOk &&
          FixedText(plain.category) == kVstAudioEffectClass)
      {
        std::memcpy(info.cid, plain.cid, sizeof(TUID));
        std::memcpy(info.name, plain.name, sizeof(plain.name));
        std::memcpy(info.category, plain.category, sizeof(plain.category));
        info.cardinality = plain.cardinality;
        found = true;
      }
    }
    if (found)
      plugin->mClassInfo = info;
  }
  if (!found)
  {
    error = "the module offers no audio effect class";
    return nullptr;
  }

  IComponent* component = nullptr;
  if (factory.createInstance(plugin->mClassInfo.cid, IComponent::iid,
                             reinterpret_cast<void**>(&component)) != kResultOk ||
      !component)
  {
    error = "the factory did not create the effect";
    return nullptr;
  }
  plugin->mComponent = owned(component);
  plugin->mProcessor = Query<IAudioProcessor>(component);
  plugin->mController = Query<IEditController>(component);
  if (!plugin->mProcessor || !plugin->mController)
  {
    error = "the effect is not a single component with processor and controller";
    return nullptr;
  }

  plugin->mContext = VST3HostContext::Create(hostName, runLoopOffer);
  plugin->mHandler = VST3ComponentHandler::Create();
  if (component->initialize(static_cast<IHostApplication*>(plugin->mContext.get())) != kResultOk)
  {
    error = "the effect refused to initialise";
    return nullptr;
  }
  plugin->mInitialized = true;
  plugin->mHandler->SetEditForwarder([raw = plugin.get()](ParamID id, ParamValue value)
                                     { raw->ForwardToProcessor(id, value); });
  plugin->mController->setComponentHandler(plugin->mHandler);
  return plugin;
}

VST3HostedPlugin::~VST3HostedPlugin()
{
  CloseEditor();
  Stop();
  if (mHandler)
  {
    mHandler->SetEditForwarder(nullptr);
    // Menu items hold on to the plug-in; they go before it.
    mHandler->ForgetMenus();
  }
  if (mController)
    mController->setComponentHandler(nullptr);
  if (mInitialized)
    mComponent->terminate();
  mController = nullptr;
  mProcessor = nullptr;
  mComponent = nullptr;
}

std::string VST3HostedPlugin::DescribeAsJson()
{
  JsonWriter json;
  json.BeginObject().Key("format").String("VST3").Key("module").String(mModule->BinaryPath());

  PFactoryInfo factoryInfo;
  mModule->Factory().getFactoryInfo(&factoryInfo);
  json.Key("factory")
      .BeginObject()
      .Key("vendor")
      .String(FixedText(factoryInfo.vendor))
      .Key("url")
      .String(FixedText(factoryInfo.url))
      .Key("email")
      .String(FixedText(factoryInfo.email))
      .Key("flags")
      .Integer(factoryInfo.flags)
      .EndObject();

  json.Key("class")
      .BeginObject()
      .Key("cid")
      .String(HexBytes(mClassInfo.cid, sizeof(TUID)))
      .Key("cardinality")
      .Integer(mClassInfo.cardinality)
      .Key("category")
      .String(FixedText(mClassInfo.category))
      .Key("name")
      .String(FixedText(mClassInfo.name))
      .Key("classFlags")
      .Integer(mClassInfo.classFlags)
      .Key("subCategories")
      .String(FixedText(mClassInfo.subCategories))
      .Key("vendor")
      .String(FixedText(mClassInfo.vendor))
      .Key("version")
      .String(FixedText(mClassInfo.version))
      .Key("sdkVersion")
      .String(FixedText(mClassInfo.sdkVersion))
      .EndObject();

  json.Key("audioInputs");
  DescribeBuses(json, *mComponent, kAudio, kInput);
  json.Key("audioOutputs");
  DescribeBuses(json, *mComponent, kAudio, kOutput);
  json.Key("eventInputs").Integer(mComponent->getBusCount(kEvent, kInput));
  json.Key("eventOutputs").Integer(mComponent->getBusCount(kEvent, kOutput));
  json.Key("sampleSizes").BeginArray();
  if (mProcessor->canProcessSampleSize(kSample32) == kResultTrue)
    json.Integer(32);
  if (mProcessor->canProcessSampleSize(kSample64) == kResultTrue)
    json.Integer(64);
  json.EndArray();
  json.Key("latency").Integer(mProcessor->getLatencySamples());
  json.Key("tail").Integer(mProcessor->getTailSamples());

  json.Key("parameters").BeginArray();
  for (const HostParamInfo& param : Parameters())
  {
    json.BeginObject()
        .Key("id")
        .Integer(param.id)
        .Key("title")
        .String(param.name)
        .Key("units")
        .String(param.units)
        .Key("stepCount")
        .Integer(param.stepCount)
        .Key("defaultNormalized")
        .Number(param.defaultValue)
        .Key("defaultText")
        .String(TextFromValue(param.id, param.defaultValue))
        .Key("flags")
        .Integer(param.flags)
        .EndObject();
  }
  json.EndArray();

  json.Key("units").BeginArray();
  IPtr<IUnitInfo> units = Query<IUnitInfo>(mController);
  for (int32 i = 0; units && i < units->getUnitCount(); ++i)
  {
    UnitInfo info{};
    if (units->getUnitInfo(i, info) == kResultOk)
      json.BeginObject()
          .Key("id")
          .Integer(info.id)
          .Key("name")
          .String(iplug::UTF16ToUTF8(info.name, 128))
          .Key("programListId")
          .Integer(info.programListId)
          .EndObject();
  }
  json.EndArray();
  json.Key("programLists").BeginArray();
  for (int32 i = 0; units && i < units->getProgramListCount(); ++i)
  {
    ProgramListInfo list{};
    if (units->getProgramListInfo(i, list) != kResultOk)
      continue;
    json.BeginObject()
        .Key("id")
        .Integer(list.id)
        .Key("name")
        .String(iplug::UTF16ToUTF8(list.name, 128))
        .Key("programs")
        .BeginArray();
    for (int32 p = 0; p < list.programCount; ++p)
    {
      String128 name{};
      if (units->getProgramName(list.id, p, name) == kResultOk)
        json.String(iplug::UTF16ToUTF8(name, 128));
    }
    json.EndArray().EndObject();
  }
  json.EndArray();
  json.EndObject();
  return json.Text();
}

std::vector<HostParamInfo> VST3HostedPlugin::Parameters()
{
  std::vector<HostParamInfo> params;
  for (int32 i = 0; i < mController->getParameterCount(); ++i)
  {
    ParameterInfo info{};
    if (mController->getParameterInfo(i, info) != kResultOk)
      continue;
    HostParamInfo param;
    param.id = info.id;
    param.name = iplug::UTF16ToUTF8(info.title, 128);
    param.units = iplug::UTF16ToUTF8(info.units, 128);
    param.minValue = 0.0;
    param.maxValue = 1.0;
    param.defaultValue = info.defaultNormalizedValue;
    param.stepCount = info.stepCount;
    param.flags = static_cast<uint32_t>(info.flags);
    params.push_back(std::move(param));
  }
  return params;
}

bool VST3HostedPlugin::Start(const ProcessSetup& setup, std::string& error)
{
  const ProcessGate::Hold hold(mGate);
  Stop();
  if (setup.channels < 1 || setup.maxBlockSize < 1)
  {
    error = "a set-up needs at least one channel and a block size of at least 1";
    return false;
  }
  SpeakerArrangement input = setup.channels == 1 ? SpeakerArr::kMono : SpeakerArr::kStereo;
  SpeakerArrangement output = input;
  if (setup.channels > 2 || mProcessor->setBusArrangements(&input, 1, &output, 1) != kResultOk)
  {
    error = "the effect refused " + std::to_string(setup.channels) + " channel(s) in and out";
    return false;
  }
  const int32 sampleSize = setup.doublePrecision ? kSample64 : kSample32;
  if (mProcessor->canProcessSampleSize(sampleSize) != kResultTrue)
  {
    error = std::string("the effect cannot process ") + (setup.doublePrecision ? "64" : "32") +
            "-bit samples";
    return false;
  }
  Vst::ProcessSetup vstSetup{setup.offline ? kOffline : kRealtime, sampleSize, setup.maxBlockSize,
                             setup.sampleRate};
  if (mProcessor->setupProcessing(vstSetup) != kResultOk)
  {
    error = "the effect refused the processing set-up";
    return false;
  }
  if (mComponent->setActive(true) != kResultOk)
  {
    error = "the effect refused to activate";
    return false;
  }
  mSetup = setup;
  mProjectTime = 0;
  SizeBuffers(mIn64, mIn64Ptrs, setup.channels, setup.maxBlockSize);
  SizeBuffers(mOut64, mOut64Ptrs, setup.channels, setup.maxBlockSize);
  SizeBuffers(mIn32, mIn32Ptrs, setup.channels, setup.maxBlockSize);
  SizeBuffers(mOut32, mOut32Ptrs, setup.channels, setup.maxBlockSize);
  mProcessor->setProcessing(true);
  mActive = true;
  return true;
}

void VST3HostedPlugin::Stop()
{
  const ProcessGate::Hold hold(mGate);
  if (!mActive)
    return;
  mActive = false;
  mProcessor->setProcessing(false);
  mComponent->setActive(false);
}

bool VST3HostedPlugin::Process(std::vector<double*>& channels, int nFrames,
                               const std::vector<HostParamChange>& changes)
{
  const ProcessGate::Pass pass(mGate);
  if (!pass.Admitted())
    return true;
  const int nChannels = mSetup.channels;
  if (!mActive || nFrames < 0 || static_cast<int>(channels.size()) < nChannels)
    return false;
  const auto frames = static_cast<size_t>(nFrames);
  // Blocks longer than announced are passed on as they are; the effect decides what to do.
  if (nFrames > static_cast<int>(mIn64.empty() ? 0 : mIn64[0].size()))
  {
    SizeBuffers(mIn64, mIn64Ptrs, nChannels, nFrames);
    SizeBuffers(mOut64, mOut64Ptrs, nChannels, nFrames);
    SizeBuffers(mIn32, mIn32Ptrs, nChannels, nFrames);
    SizeBuffers(mOut32, mOut32Ptrs, nChannels, nFrames);
  }

  for (size_t c = 0; c < static_cast<size_t>(nChannels); ++c)
  {
    std::copy(channels[c], channels[c] + frames, mIn64[c].begin());
    std::transform(channels[c], channels[c] + frames, mIn32[c].begin(),
                   [](double s) { return static_cast<float>(s); });
  }

  AudioBusBuffers inputBus{};
  AudioBusBuffers outputBus{};
  inputBus.numChannels = outputBus.numChannels = nChannels;
  for (size_t c = 0; c < static_cast<size_t>(nChannels) && c < 64; ++c)
  {
    if (std::all_of(channels[c], channels[c] + frames, [](double s) { return s == 0.0; }))
      inputBus.silenceFlags |= uint64{1} << c;
  }
  // A plug-in that does not set them leaves them clear; hosts start them so.
  outputBus.silenceFlags = 0;
  if (mSetup.doublePrecision)
  {
    inputBus.channelBuffers64 = mIn64Ptrs.data();
    outputBus.channelBuffers64 = mOut64Ptrs.data();
  }
  else
  {
    inputBus.channelBuffers32 = mIn32Ptrs.data();
    outputBus.channelBuffers32 = mOut32Ptrs.data();
  }

  mChanges.Clear();
  // Values set on the main thread since the last block come first, at its start.
  HostParamChange forwarded;
  while (mToProcessor.Pop(forwarded))
    mChanges.Add(forwarded.id, 0, forwarded.value);
  for (const HostParamChange& change : changes)
    mChanges.Add(change.id, change.sampleOffset, change.value);

  ProcessContext context{};
  context.state = ProcessContext::kPlaying;
  context.sampleRate = mSetup.sampleRate;
  context.projectTimeSamples = mProjectTime;

  ProcessData data;
  data.processMode = mSetup.offline ? kOffline : kRealtime;
  data.symbolicSampleSize = mSetup.doublePrecision ? kSample64 : kSample32;
  data.numSamples = nFrames;
  data.numInputs = 1;
  data.numOutputs = 1;
  data.inputs = &inputBus;
  data.outputs = &outputBus;
  data.inputParameterChanges = &mChanges;
  data.processContext = &context;
  mLastProcessResult = mProcessor->process(data);
  mLastOutputSilenceFlags = outputBus.silenceFlags;
  if (mLastProcessResult != kResultOk)
    return false;
  mProjectTime += nFrames;

  for (size_t c = 0; c < static_cast<size_t>(nChannels); ++c)
  {
    if (mSetup.doublePrecision)
      std::copy(mOut64[c].begin(), mOut64[c].begin() + nFrames, channels[c]);
    else
      std::copy(mOut32[c].begin(), mOut32[c].begin() + nFrames, channels[c]);
  }
  return true;
}

int VST3HostedPlugin::Latency()
{
  return static_cast<int>(mProcessor->getLatencySamples());
}

int VST3HostedPlugin::LatencyReports() const
{
  int reports = 0;
  for (const VST3ComponentHandler::Restart& restart : mHandler->Restarts())
    reports += (restart.flags & Steinberg::Vst::kLatencyChanged) != 0;
  return reports;
}

bool VST3HostedPlugin::SetParameter(uint32_t id, double value)
{
  if (mController->setParamNormalized(id, value) != kResultOk)
    return false;
  ForwardToProcessor(id, value);
  return true;
}

void VST3HostedPlugin::ForwardToProcessor(uint32_t id, double value)
{
  // A full queue means the audio thread is stuck; the controller already has the value.
  if (mActive)
    mToProcessor.Push({id, 0, value});
}

double VST3HostedPlugin::GetParameter(uint32_t id)
{
  return mController->getParamNormalized(id);
}

std::string VST3HostedPlugin::TextFromValue(uint32_t id, double value)
{
  String128 text{};
  if (mController->getParamStringByValue(id, value, text) != kResultOk)
    return {};
  return iplug::UTF16ToUTF8(text, 128);
}

bool VST3HostedPlugin::ValueFromText(uint32_t id, const std::string& text, double& value)
{
  String128 wide{};
  iplug::CopyToUTF16(text, wide);
  ParamValue parsed = 0.0;
  if (mController->getParamValueByString(id, wide, parsed) != kResultOk)
    return false;
  value = parsed;
  return true;
}

bool VST3HostedPlugin::SaveState(std::vector<uint8_t>& state)
{
  VST3MemoryStream stream;
  if (mComponent->getState(&stream) != kResultOk)
    return false;
  state = stream.Bytes();
  return true;
}

bool VST3HostedPlugin::LoadState(const std::vector<uint8_t>& state)
{
  VST3MemoryStream stream(state);
  const bool loaded = mComponent->setState(&stream) == kResultOk;
  // A host hands the same state to the controller side as well.
  stream.seek(0, IBStream::kIBSeekSet, nullptr);
  mController->setComponentState(&stream);
  return loaded;
}

void VST3HostedPlugin::Idle()
{
  mContext->Tick();
}

void VST3HostedPlugin::RunEventLoop(std::chrono::milliseconds duration,
                                    const std::function<bool()>& done)
{
  mContext->RunFor(duration, done);
}

bool VST3HostedPlugin::OpenEditor(NativeWindow parent, std::optional<double> scale,
                                  std::string& error)
{
  if (mView)
  {
    error = "the editor is already open";
    return false;
  }
  IPtr<IPlugView> view = owned(mController->createView(ViewType::kEditor));
  if (!view)
  {
    error = "no editor";
    return false;
  }
  if (mContext->Offer() == RunLoopOffer::FrameAndHandler ||
      mContext->Offer() == RunLoopOffer::HandlerOnly)
    mHandler->OfferRunLoop(mContext);
  const EditorEmbedding& embedding = PlatformEditorEmbedding();
  if (view->isPlatformTypeSupported(embedding.vst3PlatformType) != kResultTrue)
  {
    error = std::string("the editor cannot be embedded in ") + embedding.windowKind;
    return false;
  }
  IPtr<VST3PlugFrame> frame = VST3PlugFrame::Create(
      mContext, view, [this](int width, int height) { OnResizeRequest(width, height); });
  view->setFrame(frame);
  if (scale)
  {
    if (IPtr<IPlugViewContentScaleSupport> scaling = Query<IPlugViewContentScaleSupport>(view))
      scaling->setContentScaleFactor(
          static_cast<IPlugViewContentScaleSupport::ScaleFactor>(*scale));
  }
  // The view takes the window id (X11) or the HWND itself as its parent handle.
  if (view->attached(reinterpret_cast<void*>(parent), embedding.vst3PlatformType) != kResultOk)
  {
    view->setFrame(nullptr);
    error = "the editor did not open in the window";
    return false;
  }
  mView = view;
  mFrame = frame;
  return true;
}

std::optional<HostEditorSize> VST3HostedPlugin::EditorSize()
{
  ViewRect rect;
  if (!mView || mView->getSize(&rect) != kResultOk)
    return std::nullopt;
  return HostEditorSize{rect.getWidth(), rect.getHeight()};
}

void VST3HostedPlugin::CloseEditor()
{
  if (!mView)
    return;
  mView->removed();
  mView->setFrame(nullptr);
  mView = nullptr;
  mFrame = nullptr;
}

void VST3HostedPlugin::OnResizeRequest(int width, int height)
{
  const HostEditorSize size{width, height};
  mResizeRequests.push_back(size);
  if (mResizeHandler)
    mResizeHandler(size);
}

} // namespace velmora::host::vst3
