#pragma once

#include "tools/host/AudioFile.h"
#include "tools/host/HostedPlugin.h"

#include <atomic>
#include <thread>
#include <vector>

namespace velmora::host
{

// Plays audio through a started plug-in on a thread of its own, in blocks at the pace of real
// time, from the start again at the end, as a host's audio device would. The thread only calls
// Process; sleeping between blocks stands in for the device's clock.
class RealTimeAudio
{
public:
  // The audio must hold at least one frame in as many channels as the plug-in was started with.
  RealTimeAudio(HostedPlugin& plugin, AudioData audio, int blockSize);
  ~RealTimeAudio();
  RealTimeAudio(const RealTimeAudio&) = delete;
  RealTimeAudio& operator=(const RealTimeAudio&) = delete;

  void Start();
  void Stop();
  // Blocks the plug-in refused so far.
  int RefusedBlocks() const { return mRefused.load(); }

private:
  void Run();

  HostedPlugin& mPlugin;
  const AudioData mAudio;
  const int mBlockSize;
  std::vector<std::vector<double>> mBlock;
  std::vector<double*> mBlockPtrs;
  const std::vector<HostParamChange> mNoChanges;
  std::atomic<bool> mRunning{false};
  std::atomic<int> mRefused{0};
  std::thread mThread;
};

} // namespace velmora::host
