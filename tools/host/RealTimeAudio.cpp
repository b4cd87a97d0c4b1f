#include "tools/host/RealTimeAudio.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace velmora::host
{

RealTimeAudio::RealTimeAudio(HostedPlugin& plugin, AudioData audio, int blockSize)
    : mPlugin(plugin), mAudio(std::move(audio)), mBlockSize(std::max(blockSize, 1)),
      mBlock(mAudio.channels.size(), std::vector<double>(static_cast<size_t>(mBlockSize))),
      mBlockPtrs(mAudio.channels.size())
{
  for (size_t c = 0; c < mBlock.size(); ++c)
    mBlockPtrs[c] = mBlock[c].data();
}

RealTimeAudio::~RealTimeAudio()
{
  Stop();
}

void RealTimeAudio::Start()
{
  if (mRunning.exchange(true))
    return;
  mThread = std::thread([this] { Run(); });
}

void RealTimeAudio::Stop()
{
  mRunning = false;
  if (mThread.joinable())
    mThread.join();
}

void RealTimeAudio::Run()
{
  using Clock = std::chrono::steady_clock;
  const int frames = mAudio.Frames();
  if (frames < 1)
    return;
  const std::chrono::duration<double> framePeriod(1.0 / mAudio.sampleRate);
  Clock::time_point due = Clock::now();
  int position = 0;
  while (mRunning.load())
  {
    const int n = std::min(mBlockSize, frames - position);
    for (size_t c = 0; c < mBlock.size(); ++c)
    {
      const auto from = mAudio.channels[c].begin() + position;
      std::copy(from, from + n, mBlock[c].begin());
    }
    if (!mPlugin.Process(mBlockPtrs, n, mNoChanges))
      ++mRefused;
    position = position + n == frames ? 0 : position + n;
    due += std::chrono::duration_cast<Clock::duration>(framePeriod * n);
    // A thread that fell behind (a stalled machine) carries on from now rather than catching up.
    const Clock::time_point now = Clock::now();
    if (due < now - std::chrono::milliseconds(100))
      due = now;
    std::this_thread::sleep_until(due);
  }
}

} // namespace velmora::host
