#include "tools/host/clap/ClapHostedPlugin.h"

#include "tools/host/EditorEmbedding.h"
#include "tools/host/clap/ClapParentWindow.h"
#include "tools/host/clap/ClapStreams.h"

#include <algorithm>
#include <cmath>

namespace velmora::host
{

using namespace clapabi;

std::unique_ptr<ClapHostedPlugin> ClapHostedPlugin::Load(const std::string& path,
                                                         std::string& error,
                                                         const ClapHost::Options& options)
{
  std::unique_ptr<ClapModule> module = ClapModule::Open(path, error);
  if (!module)
    return nullptr;
  if (!module->Init())
  {
    error = path + ": the entry's init failed";
    return nullptr;
  }
  const clap_plugin_factory* factory = module->PluginFactory();
  if (!factory || factory->get_plugin_count(factory) < 1)
  {
    error = path + ": no plug-in factory";
    return nullptr;
  }
  const clap_plugin_descriptor* desc = factory->get_plugin_descriptor(factory, 0);
  if (!desc || !desc->id)
  {
    error = path + ": no plug-in descriptor";
    return nullptr;
  }
  auto host = std::make_unique<ClapHost>(options);
  const clap_plugin* plugin = factory->create_plugin(factory, host->Record(), desc->id);
  if (!plugin)
  {
    error = path + ": the factory created no instance";
    return nullptr;
  }
  host->AttachPlugin(plugin);
  if (!plugin->init(plugin))
  {
    plugin->destroy(plugin);
    error = path + ": the instance's init failed";
    return nullptr;
  }
  return std::unique_ptr<ClapHostedPlugin>(
      new ClapHostedPlugin(std::move(module), std::move(host), plugin));
}

ClapHostedPlugin::ClapHostedPlugin(std::unique_ptr<ClapModule> module,
                                   std::unique_ptr<ClapHost> host, const clap_plugin* plugin)
    : mModule(std::move(module)), mHost(std::move(host)), mPlugin(plugin)
{
  mEvents.Reserve(1024);
  mHost->SetPassWork([this] { ServiceRequests(); });
  mHost->SetResizeHandler([this](uint32_t width, uint32_t height)
                          { return OnResizeRequest(width, height); });
}

ClapHostedPlugin::~ClapHostedPlugin()
{
  CloseEditor();
  Stop();
  mPlugin->destroy(mPlugin);
  mHost->AttachPlugin(nullptr);
}

bool ClapHostedPlugin::SelectChannels(int channels)
{
  const auto* configs = Extension<clap_plugin_audio_ports_config>(CLAP_EXT_AUDIO_PORTS_CONFIG);
  if (!configs)
    return false;
  const uint32_t count = configs->count(mPlugin);
  for (uint32_t i = 0; i < count; ++i)
  {
    clap_audio_ports_config config{};
    if (configs->get(mPlugin, i, &config) && config.has_main_output &&
        config.main_output_channel_count == static_cast<uint32_t>(channels) &&
        config.main_input_channel_count == static_cast<uint32_t>(channels))
      return configs->select(mPlugin, config.id);
  }
  return false;
}

bool ClapHostedPlugin::Start(const ProcessSetup& setup, std::string& error)
{
  const ProcessGate::Hold hold(mGate);
  Stop();
  if (setup.channels < 1 || setup.maxBlockSize < 1)
  {
    error = "unusable process setup";
    return false;
  }
  if (!SelectChannels(setup.channels))
  {
    error = "the plug-in has no configuration for " + std::to_string(setup.channels) + " channels";
    return false;
  }
  if (const auto* render = Extension<clap_plugin_render>(CLAP_EXT_RENDER))
    render->set(mPlugin, setup.offline ? CLAP_RENDER_OFFLINE : CLAP_RENDER_REALTIME);
  const auto maxFrames = static_cast<uint32_t>(setup.maxBlockSize);
  if (!mPlugin->activate(mPlugin, setup.sampleRate, 1, maxFrames))
  {
    error = "the plug-in refused to activate";
    return false;
  }
  mActive = true;
  mSetup = setup;
  const size_t frames = maxFrames;
  const auto channels = static_cast<size_t>(setup.channels);
  mInput64.assign(frames * channels, 0.0);
  mInput32.assign(frames * channels, 0.0f);
  mOutput32.assign(frames * channels, 0.0f);
  mInPtrs64.assign(channels, nullptr);
  mInPtrs32.assign(channels, nullptr);
  mOutPtrs32.assign(channels, nullptr);
  for (size_t c = 0; c < channels; ++c)
  {
    mInPtrs64[c] = mInput64.data() + c * frames;
    mInPtrs32[c] = mInput32.data() + c * frames;
    mOutPtrs32[c] = mOutput32.data() + c * frames;
  }
  if (!mPlugin->start_processing(mPlugin))
  {
    Stop();
    error = "the plug-in refused to start processing";
    return false;
  }
  return true;
}

void ClapHostedPlugin::Stop()
{
  const ProcessGate::Hold hold(mGate);
  if (!mActive)
    return;
  mPlugin->stop_processing(mPlugin);
  mPlugin->deactivate(mPlugin);
  mActive = false;
}

clap_process_status ClapHostedPlugin::ProcessEvents(std::vector<double*>& channels, int nFrames,
                                                    const ClapEventList& events)
{
  mHost->MarkAudioThread();
  const ProcessGate::Pass pass(mGate);
  if (!pass.Admitted())
    return CLAP_PROCESS_CONTINUE;
  return ProcessAdmitted(channels, nFrames, events);
}

clap_process_status ClapHostedPlugin::ProcessAdmitted(std::vector<double*>& channels, int nFrames,
                                                      const ClapEventList& events)
{
  const auto nChannels = static_cast<uint32_t>(channels.size());
  const bool valid = mActive && nFrames >= 0 && nFrames <= mSetup.maxBlockSize &&
                     nChannels == static_cast<uint32_t>(mSetup.channels);
  if (!valid)
    return CLAP_PROCESS_ERROR;
  const auto n = static_cast<size_t>(nFrames);
  clap_audio_buffer input{};
  clap_audio_buffer output{};
  input.channel_count = nChannels;
  output.channel_count = nChannels;
  // The input is a copy, so the plug-in reads and writes separate buffers as most hosts give.
  for (uint32_t c = 0; c < nChannels; ++c)
  {
    if (mSetup.doublePrecision)
      std::copy_n(channels[c], n, mInPtrs64[c]);
    else
      std::transform(channels[c], channels[c] + n, mInPtrs32[c],
                     [](double x) { return static_cast<float>(x); });
  }
  if (mSetup.doublePrecision)
  {
    input.data64 = mInPtrs64.data();
    output.data64 = channels.data();
  }
  else
  {
    input.data32 = mInPtrs32.data();
    output.data32 = mOutPtrs32.data();
  }

  clap_process process{};
  process.steady_time = mSteadyTime;
  process.frames_count = static_cast<uint32_t>(nFrames);
  process.audio_inputs = &input;
  process.audio_outputs = &output;
  process.audio_inputs_count = 1;
  process.audio_outputs_count = 1;
  process.in_events = events.Input();
  process.out_events = mEditRecorder.Output();
  // This block delivers whatever a flush would have.
  mHost->TakeFlushRequest();
  const clap_process_status status = mPlugin->process(mPlugin, &process);
  mSteadyTime += nFrames;

  if (!mSetup.doublePrecision)
  {
    for (uint32_t c = 0; c < nChannels; ++c)
      std::copy_n(mOutPtrs32[c], n, channels[c]);
  }
  return status;
}

bool ClapHostedPlugin::Process(std::vector<double*>& channels, int nFrames,
                               const std::vector<HostParamChange>& changes)
{
  mHost->MarkAudioThread();
  // Admitted and active first: the queued values must not be taken by a block that never runs.
  const ProcessGate::Pass pass(mGate);
  if (!pass.Admitted())
    return true;
  if (!mActive)
    return false;
  mEvents.Clear();
  HostParamChange queued;
  while (mToProcessor.Pop(queued))
    mEvents.AddParamValue(0, queued.id, queued.value);
  for (const HostParamChange& change : changes)
  {
    const int offset = std::clamp(change.sampleOffset, 0, std::max(nFrames - 1, 0));
    mEvents.AddParamValue(static_cast<uint32_t>(offset), change.id, change.value);
  }
  return ProcessAdmitted(channels, nFrames, mEvents) != CLAP_PROCESS_ERROR;
}

std::vector<HostParamInfo> ClapHostedPlugin::Parameters()
{
  std::vector<HostParamInfo> result;
  const auto* params = Extension<clap_plugin_params>(CLAP_EXT_PARAMS);
  if (!params)
    return result;
  const uint32_t count = params->count(mPlugin);
  for (uint32_t i = 0; i < count; ++i)
  {
    clap_param_info info{};
    if (!params->get_info(mPlugin, i, &info))
      continue;
    HostParamInfo param;
    param.id = info.id;
    param.name = info.name;
    param.minValue = info.min_value;
    param.maxValue = info.max_value;
    param.defaultValue = info.default_value;
    param.stepCount = (info.flags & CLAP_PARAM_IS_STEPPED)
                          ? static_cast<int>(std::lround(info.max_value - info.min_value))
                          : 0;
    param.flags = info.flags;
    result.push_back(std::move(param));
  }
  return result;
}

bool ClapHostedPlugin::SetParameter(uint32_t id, double value)
{
  const auto* params = Extension<clap_plugin_params>(CLAP_EXT_PARAMS);
  if (!params || id >= params->count(mPlugin))
    return false;
  if (mActive)
    return mToProcessor.Push({id, 0, value});
  ClapEventList events;
  events.AddParamValue(0, id, value);
  params->flush(mPlugin, events.Input(), mEditRecorder.Output());
  return true;
}

double ClapHostedPlugin::GetParameter(uint32_t id)
{
  const auto* params = Extension<clap_plugin_params>(CLAP_EXT_PARAMS);
  double value = 0.0;
  if (!params || !params->get_value(mPlugin, id, &value))
    return 0.0;
  return value;
}

std::string ClapHostedPlugin::TextFromValue(uint32_t id, double value)
{
  const auto* params = Extension<clap_plugin_params>(CLAP_EXT_PARAMS);
  char text[256] = "";
  if (!params || !params->value_to_text(mPlugin, id, value, text, sizeof(text)))
    return "";
  return text;
}

bool ClapHostedPlugin::ValueFromText(uint32_t id, const std::string& text, double& value)
{
  const auto* params = Extension<clap_plugin_params>(CLAP_EXT_PARAMS);
  return params && params->text_to_value(mPlugin, id, text.c_str(), &value);
}

int ClapHostedPlugin::Latency()
{
  const auto* latency = Extension<clap_plugin_latency>(CLAP_EXT_LATENCY);
  return latency ? static_cast<int>(latency->get(mPlugin)) : 0;
}

bool ClapHostedPlugin::SaveState(std::vector<uint8_t>& state)
{
  const auto* ext = Extension<clap_plugin_state>(CLAP_EXT_STATE);
  ClapMemoryOStream stream;
  if (!ext || !ext->save(mPlugin, stream.Record()))
    return false;
  state = stream.Bytes();
  return true;
}

bool ClapHostedPlugin::LoadState(const std::vector<uint8_t>& state)
{
  const auto* ext = Extension<clap_plugin_state>(CLAP_EXT_STATE);
  ClapMemoryIStream stream(state);
  return ext && ext->load(mPlugin, stream.Record());
}

void ClapHostedPlugin::Idle()
{
  mHost->ServiceRunLoop();
  ServiceRequests();
}

void ClapHostedPlugin::RunEventLoop(std::chrono::milliseconds duration,
                                    const std::function<bool()>& done)
{
  mHost->RunFor(duration, done);
}

void ClapHostedPlugin::ServiceRequests()
{
  if (mHost->TakeGuiDestroyed())
    DestroyEditor();
  // While active the next block delivers the plug-in's events; flush is the main thread's call
  // only while the instance is inactive.
  if (!mActive && mHost->TakeFlushRequest())
  {
    if (const auto* params = Extension<clap_plugin_params>(CLAP_EXT_PARAMS))
    {
      const ClapEventList none;
      params->flush(mPlugin, none.Input(), mEditRecorder.Output());
    }
  }
  if (mHost->TakeRestartRequest() && mActive)
  {
    const ProcessSetup setup = mSetup;
    std::string error;
    Start(setup, error);
  }
}

bool ClapHostedPlugin::OpenEditor(NativeWindow parent, std::optional<double> scale,
                                  std::string& error)
{
  if (mEditorOpen)
  {
    error = "the editor is already open";
    return false;
  }
  const auto* gui = Extension<clap_plugin_gui>(CLAP_EXT_GUI);
  if (!gui)
  {
    error = "no editor";
    return false;
  }
  if (!gui->is_api_supported || !gui->create || !gui->destroy || !gui->get_size ||
      !gui->set_parent || !gui->show || !gui->hide || !gui->set_scale || !gui->set_size)
  {
    error = "the plug-in's editor interface is incomplete";
    return false;
  }
  const clap_window window = ClapParentWindow(parent);
  if (!gui->is_api_supported(mPlugin, window.api, false))
  {
    error = std::string("the editor cannot be embedded in ") + PlatformEditorEmbedding().windowKind;
    return false;
  }
  // Asked as hosts ask; the host embeds in its own window whatever the answer.
  if (gui->get_preferred_api)
  {
    const char* preferredApi = nullptr;
    bool preferredFloating = false;
    gui->get_preferred_api(mPlugin, &preferredApi, &preferredFloating);
  }
  if (!gui->create(mPlugin, window.api, false))
  {
    error = "the plug-in did not create its editor";
    return false;
  }
  mGui = gui;
  mEditorOpen = true;
  if (scale)
    gui->set_scale(mPlugin, *scale);
  if (!gui->set_parent(mPlugin, &window))
  {
    DestroyEditor();
    error = "the editor did not open in the window";
    return false;
  }
  gui->show(mPlugin);
  return true;
}

std::optional<HostEditorSize> ClapHostedPlugin::EditorSize()
{
  uint32_t width = 0;
  uint32_t height = 0;
  if (!mEditorOpen || !mGui->get_size(mPlugin, &width, &height))
    return std::nullopt;
  return HostEditorSize{static_cast<int>(width), static_cast<int>(height)};
}

void ClapHostedPlugin::CloseEditor()
{
  if (!mEditorOpen)
    return;
  mGui->hide(mPlugin);
  DestroyEditor();
}

void ClapHostedPlugin::DestroyEditor()
{
  if (!mEditorOpen)
    return;
  mGui->destroy(mPlugin);
  mEditorOpen = false;
  mGui = nullptr;
}

bool ClapHostedPlugin::OnResizeRequest(uint32_t width, uint32_t height)
{
  if (width > static_cast<uint32_t>(kMaxEditorSide) ||
      height > static_cast<uint32_t>(kMaxEditorSide))
    return false;
  const HostEditorSize size{static_cast<int>(width), static_cast<int>(height)};
  mResizeRequests.push_back(size);
  if (!mEditorOpen)
    return false;
  if (mResizeHandler)
    mResizeHandler(size);
  return mGui->set_size(mPlugin, width, height);
}

} // namespace velmora::host
