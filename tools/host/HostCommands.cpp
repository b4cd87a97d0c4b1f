#include "tools/host/HostCommands.h"

#include "tools/DemoSignal.h"
#include "tools/host/AudioFile.h"
#include "tools/host/HostOptions.h"
#include "tools/host/HostWindow.h"
#include "tools/host/HostedPluginLoader.h"
#include "tools/host/JsonWriter.h"
#include "tools/host/RealTimeAudio.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>

namespace velmora::host
{

namespace
{

constexpr double kIdleIntervalSeconds = 0.02;
// How long the editor command lets the run loop run before it looks at its own window.
constexpr std::chrono::milliseconds kEditorSlice{10};
// The window's size until the editor gives its own.
constexpr HostEditorSize kFirstWindowSize{650, 400};
// A state file larger than this is not a plug-in state.
constexpr std::streamsize kMaxStateFileBytes = std::streamsize{16} << 20;

int Fail(const std::string& message)
{
  std::fprintf(stderr, "velmora-host: %s\n", message.c_str());
  return 1;
}

// Parses the options and loads the module named by the first positional argument.
std::unique_ptr<HostedPlugin> Prepare(const std::vector<std::string>& args, size_t positionals,
                                      HostOptions& options, std::string& error)
{
  if (!ParseHostOptions(args, options, error))
    return nullptr;
  if (options.positional.size() != positionals)
  {
    error = "expected " + std::to_string(positionals) + " argument(s) before the options, got " +
            std::to_string(options.positional.size());
    return nullptr;
  }
  return LoadHostedPlugin(options.positional[0], error);
}

// Resolves the "Name=value" settings through the module into parameter changes.
bool ResolveSettings(HostedPlugin& plugin, const std::vector<std::string>& settings,
                     std::vector<HostParamChange>& changes, std::string& error)
{
  const std::vector<HostParamInfo> params = plugin.Parameters();
  for (const std::string& setting : settings)
  {
    const size_t eq = setting.find('=');
    const std::string name = setting.substr(0, eq);
    const std::string text = setting.substr(eq + 1);
    const auto param = std::find_if(params.begin(), params.end(),
                                    [&](const HostParamInfo& p) { return p.name == name; });
    if (param == params.end())
    {
      error = "the effect has no parameter named \"" + name + "\"";
      return false;
    }
    double value = 0.0;
    if (!plugin.ValueFromText(param->id, text, value))
    {
      error = "the effect does not accept \"" + text + "\" for " + name;
      return false;
    }
    changes.push_back({param->id, 0, value});
  }
  return true;
}

bool ApplyOnMainThread(HostedPlugin& plugin, const std::vector<HostParamChange>& changes,
                       std::string& error)
{
  for (const HostParamChange& change : changes)
  {
    if (!plugin.SetParameter(change.id, change.value))
    {
      error = "the effect refused a value for parameter " + std::to_string(change.id);
      return false;
    }
  }
  return true;
}

void WriteParameterValues(HostedPlugin& plugin)
{
  JsonWriter json;
  json.BeginArray();
  for (const HostParamInfo& param : plugin.Parameters())
  {
    const double value = plugin.GetParameter(param.id);
    json.BeginObject()
        .Key("id")
        .Integer(param.id)
        .Key("title")
        .String(param.name)
        .Key("value")
        .Number(value)
        .Key("text")
        .String(plugin.TextFromValue(param.id, value))
        .EndObject();
  }
  json.EndArray();
  std::printf("%s\n", json.Text().c_str());
}

bool LoadInput(const HostOptions& options, AudioData& audio, std::string& error)
{
  if (options.inputPath.empty())
  {
    const tools::StereoBuffer demo =
        tools::MakeDemoSignal(options.sampleRate.value_or(48000.0), options.seconds);
    audio.sampleRate = demo.sampleRate;
    audio.channels = {demo.left, demo.right};
    return true;
  }
  if (!ReadAudioFile(options.inputPath, audio, error))
    return false;
  if (options.sampleRate && *options.sampleRate != audio.sampleRate)
  {
    error = options.inputPath + " is at " + std::to_string(audio.sampleRate) +
            " Hz; the host does not resample";
    return false;
  }
  if (audio.channels.size() > 2)
  {
    error = options.inputPath + " has " + std::to_string(audio.channels.size()) +
            " channels; the effect takes mono or stereo";
    return false;
  }
  return true;
}

// Prints each value the plug-in's editor sets, as the module writes it.
class EditPrinter
{
public:
  explicit EditPrinter(HostedPlugin& plugin) : mPlugin(plugin)
  {
    for (HostParamInfo& param : plugin.Parameters())
      mParams.emplace(param.id, std::move(param));
  }

  void PrintNewEdits()
  {
    for (const HostEdit& edit : mPlugin.TakeEdits())
    {
      if (edit.kind != HostEdit::Kind::Value)
        continue;
      const auto param = mParams.find(edit.id);
      const std::string name =
          param != mParams.end() ? param->second.name : "parameter " + std::to_string(edit.id);
      std::string text = mPlugin.TextFromValue(edit.id, edit.value);
      if (param != mParams.end() && !param->second.units.empty())
        text += " " + param->second.units;
      std::printf("%s: %s\n", name.c_str(), text.c_str());
    }
    std::fflush(stdout);
  }

private:
  HostedPlugin& mPlugin;
  std::map<uint32_t, HostParamInfo> mParams;
};

bool ValidEditorSize(const HostEditorSize& size)
{
  return size.width >= 1 && size.height >= 1 && size.width <= kMaxEditorSide &&
         size.height <= kMaxEditorSide;
}

} // namespace

int RunInfoCommand(const std::vector<std::string>& args)
{
  HostOptions options;
  std::string error;
  std::unique_ptr<HostedPlugin> plugin = Prepare(args, 1, options, error);
  if (!plugin)
    return Fail(error);
  std::printf("%s\n", plugin->DescribeAsJson().c_str());
  return 0;
}

int RunRenderCommand(const std::vector<std::string>& args)
{
  HostOptions options;
  std::string error;
  std::unique_ptr<HostedPlugin> plugin = Prepare(args, 1, options, error);
  if (!plugin)
    return Fail(error);
  if (options.outputPath.empty())
    return Fail("render needs --out FILE.wav");
  AudioData audio;
  if (!LoadInput(options, audio, error))
    return Fail(error);
  std::vector<HostParamChange> changes;
  if (!ResolveSettings(*plugin, options.settings, changes, error) ||
      !ApplyOnMainThread(*plugin, changes, error))
    return Fail(error);

  ProcessSetup setup;
  setup.sampleRate = audio.sampleRate;
  setup.maxBlockSize = options.blockSize;
  setup.channels = static_cast<int>(audio.channels.size());
  setup.doublePrecision = options.bits == 64;
  setup.offline = options.offline;
  if (!plugin->Start(setup, error))
    return Fail(error);

  const int frames = audio.Frames();
  const auto idleFrames = static_cast<int>(audio.sampleRate * kIdleIntervalSeconds);
  int sinceIdle = 0;
  std::vector<double*> block(audio.channels.size());
  for (int pos = 0; pos < frames; pos += options.blockSize)
  {
    const int n = std::min(options.blockSize, frames - pos);
    for (size_t c = 0; c < audio.channels.size(); ++c)
      block[c] = audio.channels[c].data() + pos;
    // The settings also reach the processor with the first block, as a host's automation does.
    if (!plugin->Process(block, n, pos == 0 ? changes : std::vector<HostParamChange>{}))
      return Fail("the effect refused the block at frame " + std::to_string(pos));
    sinceIdle += n;
    if (sinceIdle >= idleFrames)
    {
      plugin->Idle();
      sinceIdle = 0;
    }
  }
  plugin->Idle();
  const int latency = plugin->Latency();
  plugin->Stop();

  if (!WriteAudioFile(options.outputPath, audio, error))
    return Fail(error);
  std::printf("wrote %s: %d frames, %zu channel(s) at %.0f Hz, %d-bit processing, "
              "latency %d samples (not compensated)\n",
              options.outputPath.c_str(), frames, audio.channels.size(), audio.sampleRate,
              options.bits, latency);
  return 0;
}

int RunStateSaveCommand(const std::vector<std::string>& args)
{
  HostOptions options;
  std::string error;
  std::unique_ptr<HostedPlugin> plugin = Prepare(args, 2, options, error);
  if (!plugin)
    return Fail(error);
  std::vector<HostParamChange> changes;
  if (!ResolveSettings(*plugin, options.settings, changes, error) ||
      !ApplyOnMainThread(*plugin, changes, error))
    return Fail(error);
  std::vector<uint8_t> state;
  if (!plugin->SaveState(state))
    return Fail("the effect did not give its state");
  const std::string& path = options.positional[1];
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(state.data()),
             static_cast<std::streamsize>(state.size()));
  if (!file)
    return Fail("cannot write " + path);
  std::printf("wrote %s: %zu bytes\n", path.c_str(), state.size());
  return 0;
}

int RunStateLoadCommand(const std::vector<std::string>& args)
{
  HostOptions options;
  std::string error;
  std::unique_ptr<HostedPlugin> plugin = Prepare(args, 2, options, error);
  if (!plugin)
    return Fail(error);
  const std::string& path = options.positional[1];
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  if (!file)
    return Fail("cannot read " + path);
  const std::streamsize size = file.tellg();
  if (size < 0 || size > kMaxStateFileBytes)
    return Fail(path + " is too large to be a plug-in state");
  std::vector<uint8_t> state(static_cast<size_t>(size));
  file.seekg(0);
  file.read(reinterpret_cast<char*>(state.data()), size);
  if (!file)
    return Fail("cannot read " + path);
  const bool accepted = plugin->LoadState(state);
  WriteParameterValues(*plugin);
  if (!accepted)
    return Fail("the effect refused the state in " + path);
  return 0;
}

int RunEditorCommand(const std::vector<std::string>& args)
{
  HostOptions options;
  std::string error;
  if (!ParseHostOptions(args, options, error))
    return Fail(error);
  if (options.positional.size() != 1)
    return Fail("editor expects one module before the options, got " +
                std::to_string(options.positional.size()));
  AudioData audio;
  if (!LoadInput(options, audio, error))
    return Fail(error);
  if (audio.Frames() < 1)
    return Fail(options.inputPath + " holds no audio");

  std::unique_ptr<HostedPlugin> plugin = LoadHostedPlugin(options.positional[0], error);
  if (!plugin)
    return Fail(error);
  std::vector<HostParamChange> changes;
  if (!ResolveSettings(*plugin, options.settings, changes, error) ||
      !ApplyOnMainThread(*plugin, changes, error))
    return Fail(error);
  const std::unique_ptr<HostWindow> window =
      HostWindow::Open("Velmora \u2013 " + plugin->FormatName(), kFirstWindowSize, error);
  if (!window)
    return Fail(error);

  if (!plugin->OpenEditor(window->Id(), options.scale, error))
    return Fail("cannot open the editor: " + error);
  const std::optional<HostEditorSize> size = plugin->EditorSize();
  if (!size || !ValidEditorSize(*size))
  {
    plugin->CloseEditor();
    return Fail("the editor gave no usable size");
  }
  window->Resize(*size);
  plugin->SetResizeHandler([&window](const HostEditorSize& requested)
                           { window->Resize(requested); });
  window->Show();

  ProcessSetup setup;
  setup.sampleRate = audio.sampleRate;
  setup.maxBlockSize = options.blockSize;
  setup.channels = static_cast<int>(audio.channels.size());
  setup.doublePrecision = options.bits == 64;
  if (!plugin->Start(setup, error))
  {
    plugin->CloseEditor();
    return Fail(error);
  }
  RealTimeAudio player(*plugin, std::move(audio), options.blockSize);
  player.Start();

  EditPrinter printer(*plugin);
  using Clock = std::chrono::steady_clock;
  const Clock::time_point shotAt =
      Clock::now() + std::chrono::duration_cast<Clock::duration>(
                         std::chrono::duration<double>(options.screenshotAfterSeconds));
  int exitCode = 0;
  while (!window->CloseRequested())
  {
    plugin->RunEventLoop(kEditorSlice);
    window->ServeEvents();
    printer.PrintNewEdits();
    if (!options.screenshotPath.empty() && Clock::now() >= shotAt)
    {
      if (window->SavePng(options.screenshotPath, error))
        std::printf("wrote %s: %d x %d\n", options.screenshotPath.c_str(), window->Size().width,
                    window->Size().height);
      else
        exitCode = Fail(error);
      break;
    }
  }
  // The editor's window is a child of the host's: it goes before the host's window does.
  player.Stop();
  plugin->CloseEditor();
  plugin->Stop();
  return exitCode;
}

} // namespace velmora::host
