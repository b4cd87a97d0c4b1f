#include "tools/host/HostCommands.h"

#include "tools/host/HostCommandSteps.h"
#include "tools/host/JsonWriter.h"
#include "tools/host/Utf8Path.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace velmora::host
{

namespace
{

constexpr double kIdleIntervalSeconds = 0.02;
// A state file larger than this is not a plug-in state.
constexpr std::streamsize kMaxStateFileBytes = std::streamsize{16} << 20;

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

  const SampleFormat format =
      options.outputBits == 64 ? SampleFormat::Float64 : SampleFormat::Float32;
  if (!WriteAudioFile(options.outputPath, audio, error, format))
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
  std::ofstream file(PathFromUtf8(path), std::ios::binary);
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
  std::ifstream file(PathFromUtf8(path), std::ios::binary | std::ios::ate);
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

} // namespace velmora::host
