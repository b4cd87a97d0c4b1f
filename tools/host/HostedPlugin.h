#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmora::host
{

// A parameter as a host sees it through the loaded module.
struct HostParamInfo
{
  uint32_t id = 0;
  std::string name;
  std::string units;
  double minValue = 0.0;
  double maxValue = 1.0;
  double defaultValue = 0.0;
  int stepCount = 0;
  uint32_t flags = 0;
};

// One parameter change delivered with a block. The value is in the format's own terms: the
// normalised value for VST3, the value in the module's declared range for CLAP.
struct HostParamChange
{
  uint32_t id = 0;
  int sampleOffset = 0;
  double value = 0.0;
};

struct ProcessSetup
{
  double sampleRate = 48000.0;
  int maxBlockSize = 1024;
  int channels = 2;
  bool doublePrecision = true;
  bool offline = false;
};

// One step of a parameter edit that the plug-in reports to the host, usually from its editor.
// The value is in the same terms as HostParamChange; begin and end carry none.
struct HostEdit
{
  enum class Kind
  {
    Begin,
    Value,
    End
  };

  Kind kind = Kind::Value;
  uint32_t id = 0;
  double value = 0.0;

  bool operator==(const HostEdit&) const = default;
};

// A window of the platform's window system that an editor is embedded in: an X11 window id on
// Linux, an HWND on Windows.
using NativeWindow = std::uintptr_t;

// X11 windows are at most this many pixels on a side (Win32 ones too); the host refuses larger
// editor sizes.
inline constexpr int kMaxEditorSide = 32767;

struct HostEditorSize
{
  int width = 0;
  int height = 0;

  bool operator==(const HostEditorSize&) const = default;
};

// Whether a window can have the size.
inline bool IsUsableEditorSize(const HostEditorSize& size)
{
  return size.width >= 1 && size.height >= 1 && size.width <= kMaxEditorSide &&
         size.height <= kMaxEditorSide;
}

// What the plug-in has registered on the host's run loop.
struct HostRunLoopCounts
{
  size_t timers = 0;
  size_t fds = 0;

  bool operator==(const HostRunLoopCounts&) const = default;
};

// One plug-in instance loaded from a module file, driven as a host application drives it.
// Implemented once per plug-in format; the command-line host and the tests use only this.
// Process may run on an audio thread of its own while the main thread makes every other call.
class HostedPlugin
{
public:
  virtual ~HostedPlugin() = default;

  // What a host sees before processing, as a JSON object.
  virtual std::string DescribeAsJson() = 0;
  virtual std::vector<HostParamInfo> Parameters() = 0;
  // Sets up buses, sample rate and block size and starts processing; false with error set.
  virtual bool Start(const ProcessSetup& setup, std::string& error) = 0;
  virtual void Stop() = 0;
  // Processes one block in place over the channel buffers (64-bit samples; converted when the
  // setup asked for 32-bit processing).
  virtual bool Process(std::vector<double*>& channels, int nFrames,
                       const std::vector<HostParamChange>& changes) = 0;
  virtual int Latency() = 0;
  // How often the plug-in has told the host that its latency changed (VST3 restartComponent with
  // the latency flag, CLAP latency.changed).
  virtual int LatencyReports() const = 0;
  // Main-thread parameter access as a host's generic editor has it, in the format's value terms.
  virtual bool SetParameter(uint32_t id, double value) = 0;
  virtual double GetParameter(uint32_t id) = 0;
  // The module's own text for a value, and its parse of a text; false when it refuses the text.
  virtual std::string TextFromValue(uint32_t id, double value) = 0;
  virtual bool ValueFromText(uint32_t id, const std::string& text, double& value) = 0;
  virtual bool SaveState(std::vector<uint8_t>& state) = 0;
  virtual bool LoadState(const std::vector<uint8_t>& state) = 0;
  // Services the host's run loop (timers, main-thread callbacks) once.
  virtual void Idle() = 0;

  // "VST3" or "CLAP".
  virtual std::string FormatName() const = 0;

  // The editor, embedded in the host's window. Main thread. Opening fails with a reason, e.g.
  // "no editor" when the module offers none; a given scale is the host's content scale.
  virtual bool OpenEditor(NativeWindow parent, std::optional<double> scale, std::string& error) = 0;
  virtual bool EditorOpen() const = 0;
  virtual std::optional<HostEditorSize> EditorSize() = 0;
  virtual void CloseEditor() = 0;
  // Called when the plug-in asks the host to resize the editor's window, before the plug-in is
  // told the new size; every request is also recorded.
  virtual void SetResizeHandler(std::function<void(const HostEditorSize&)> handler) = 0;
  virtual std::vector<HostEditorSize> ResizeRequests() const = 0;
  // The edits the plug-in reported since the last call, oldest first.
  virtual std::vector<HostEdit> TakeEdits() = 0;

  // Runs the host's run loop in real time: registered timers at their intervals, registered
  // descriptors when readable, main-thread requests of the plug-in; for the duration, or until
  // done answers true.
  virtual void RunEventLoop(std::chrono::milliseconds duration,
                            const std::function<bool()>& done = {}) = 0;
  virtual HostRunLoopCounts RunLoopRegistrations() const = 0;
};

} // namespace velmora::host
