// The editor command: the module's editor in a window of the host's own, embedded as the
// platform's hosts embed it, with the audio playing through the plug-in in real time.
#include "tools/host/HostCommands.h"

#include "tools/host/EditPrinter.h"
#include "tools/host/HostCommandSteps.h"
#include "tools/host/HostWindow.h"
#include "tools/host/HostedPluginLoader.h"
#include "tools/host/RealTimeAudio.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>

namespace velmora::host
{

namespace
{

// The longest the editor command lets the run loop run at a time. Between its slices it looks at
// its own window (a request to close) when the loop wakes for the plug-in, at most this often:
// reading the window's connection costs a system call even when it is quiet.
constexpr std::chrono::milliseconds kEditorSlice{250};
constexpr std::chrono::milliseconds kWindowLookInterval{100};
// After the editor has closed, the blocks that carry what its closing reported (an edit in
// progress ended) to a CLAP host, and the longest the command waits for them.
constexpr int kBlocksAfterClosing = 2;
constexpr std::chrono::milliseconds kClosingPatience{500};
// The window's size until the editor gives its own.
constexpr HostEditorSize kFirstWindowSize{650, 400};

using Clock = std::chrono::steady_clock;

// The time the given number of seconds from now.
Clock::time_point SecondsFromNow(double seconds)
{
  return Clock::now() +
         std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

} // namespace

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

  // Declared first so that it goes last: the plug-in closes its editor, a child window of this
  // one, when it goes.
  std::unique_ptr<HostWindow> window;
  std::unique_ptr<HostedPlugin> plugin =
      LoadHostedPlugin(options.positional[0], error, options.hostLike);
  if (!plugin)
    return Fail(error);
  std::vector<HostParamChange> changes;
  if (!ResolveSettings(*plugin, options.settings, changes, error) ||
      !ApplyOnMainThread(*plugin, changes, error))
    return Fail(error);
  window = HostWindow::Open("Velmora \u2013 " + plugin->FormatName(), kFirstWindowSize, error);
  if (!window)
    return Fail(error);

  // Set first: the editor may correct its size while it opens.
  plugin->SetResizeHandler([&window](const HostEditorSize& requested)
                           { window->Resize(requested); });
  if (!plugin->OpenEditor(window->Id(), options.scale, error))
    return Fail("cannot open the editor: " + error);
  const std::optional<HostEditorSize> size = plugin->EditorSize();
  if (!size || !IsUsableEditorSize(*size))
    return Fail("the editor gave no usable size");
  window->Resize(*size);
  window->Show();

  ProcessSetup setup;
  setup.sampleRate = audio.sampleRate;
  setup.maxBlockSize = options.blockSize;
  setup.channels = static_cast<int>(audio.channels.size());
  setup.doublePrecision = options.bits == 64;
  if (!plugin->Start(setup, error))
    return Fail(error);
  RealTimeAudio player(*plugin, std::move(audio), options.blockSize);
  player.Start();

  EditPrinter printer(*plugin, options.printGestures);
  const bool takeShot = !options.screenshotPath.empty();
  const Clock::time_point shotAt = SecondsFromNow(options.screenshotAfterSeconds);
  std::optional<Clock::time_point> closeAt;
  if (options.closeAfterSeconds)
    closeAt = SecondsFromNow(*options.closeAfterSeconds);
  bool shotDue = false;
  Clock::time_point lookedAt;
  const auto lookAtWindow = [&]
  {
    printer.PrintNew();
    const Clock::time_point now = Clock::now();
    if (closeAt && now >= *closeAt)
    {
      window->RequestClose();
      closeAt.reset();
    }
    if (now - lookedAt >= kWindowLookInterval)
    {
      window->ServeEvents();
      lookedAt = now;
    }
    shotDue = takeShot && now >= shotAt;
    return window->CloseRequested() || shotDue;
  };
  int exitCode = 0;
  while (!window->CloseRequested())
  {
    Clock::time_point sliceEnd = Clock::now() + kEditorSlice;
    if (takeShot)
      sliceEnd = std::min(sliceEnd, shotAt);
    if (closeAt)
      sliceEnd = std::min(sliceEnd, *closeAt);
    plugin->RunEventLoop(
        std::max(std::chrono::ceil<std::chrono::milliseconds>(sliceEnd - Clock::now()),
                 std::chrono::milliseconds(0)),
        lookAtWindow);
    if (shotDue)
    {
      if (window->SavePng(options.screenshotPath, error))
        std::printf("wrote %s: %d x %d\n", options.screenshotPath.c_str(), window->Size().width,
                    window->Size().height);
      else
        exitCode = Fail(error);
      break;
    }
  }
  const int playedAtClosing = player.BlocksPlayed();
  plugin->CloseEditor();
  plugin->RunEventLoop(kClosingPatience, [&]
                       { return player.BlocksPlayed() >= playedAtClosing + kBlocksAfterClosing; });
  printer.PrintNew();
  player.Stop();
  plugin->Stop();
  return exitCode;
}

} // namespace velmora::host
