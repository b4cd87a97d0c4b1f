#pragma once

#include "editor/ITransferCurveControl.h"
#include "framework/core/ISender.h"
#include "framework/graphics/IGraphics.h"
#include "plugin/Velmora.h"

#include <memory>
#include <thread>
#include <vector>

namespace lifecycle_test
{

// Stands in for the host: hears latency changes and flags any that arrive off the main thread
// (the thread that built it).
class HostStandIn
{
public:
  HostStandIn();
  iplug::InstanceInfo MakeInstanceInfo();
  const std::vector<int>& LatencyReports() const { return mReports; }

private:
  std::thread::id mMainThread;
  std::vector<int> mReports;
};

// One reading as an editor control received it.
struct MeterDelivery
{
  int controlTag;
  int recordTag;
  float value;
};

// Stands in for an LED meter: logs every record routed to it.
class MeterProbe final : public iplug::igraphics::IControl
{
public:
  MeterProbe(std::vector<MeterDelivery>& log) : IControl({}), mLog(log) {}
  void OnMsgFromDelegate(int msgTag, int dataSize, const void* pData) override;

private:
  std::vector<MeterDelivery>& mLog;
};

// A minimal editor: four meter probes with tags 1 to 4, one control bound to each parameter
// and the curve display, linked and refreshed as the real layout does.
class TestEditor
{
public:
  explicit TestEditor(Velmora& plugin);
  void Install();
  iplug::igraphics::ITransferCurveControl* Curve() const;
  std::vector<double> CurvePoints() const;
  iplug::igraphics::IControl* ParamControl(int paramIdx) const;
  std::vector<MeterDelivery>& Deliveries() { return mDeliveries; }

private:
  Velmora& mPlugin;
  std::vector<MeterDelivery> mDeliveries;
};

inline constexpr int kCurveTag = 100;
inline constexpr int kParamControlTagBase = 200;

// A reset, processed instance with its host and its editor hooks installed.
class PluginHarness
{
public:
  explicit PluginHarness(double sampleRate = 48000.0, int blockSize = 256, int channels = 2);

  Velmora& Plugin() { return *mPlugin; }
  HostStandIn& Host() { return mHost; }
  TestEditor& Editor() { return *mEditor; }

  // Runs blocks of the given length on a separate audio thread; each channel's input is the
  // channel's level (channel 1 at half channel 0's) times the block's running index + 1 when
  // ramp is set, else constant.
  void Process(int nBlocks, int nFrames, double level, bool ramp = false);
  // The last block's output of channel c.
  const std::vector<double>& Output(int c) const { return mOutputs.at(static_cast<size_t>(c)); }
  // Processes 64-frame blocks until no path switch runs (at most a few seconds of audio).
  void SettleSwitch();
  // Applies a normalised value as an edit from the editor would.
  void Edit(int paramIdx, double normalized);

private:
  HostStandIn mHost;
  std::unique_ptr<Velmora> mPlugin;
  std::unique_ptr<TestEditor> mEditor;
  int mChannels;
  std::vector<std::vector<double>> mInputs;
  std::vector<std::vector<double>> mOutputs;
};

} // namespace lifecycle_test
