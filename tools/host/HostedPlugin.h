#pragma once

#include <cstdint>
#include <memory>
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

// One plug-in instance loaded from a module file, driven as a host application drives it.
// Implemented once per plug-in format; the command-line host and the tests use only this.
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
};

} // namespace velmora::host
