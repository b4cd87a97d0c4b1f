#include "plugin/Velmora.h"

#include <algorithm>
#include <cmath>

namespace
{

// The followers run over the block in chunks, so that a missing channel and the delayed input can
// be handed over as arrays without memory beyond a fixed stack share.
constexpr int kMeterChunk = 256;
constexpr std::array<double, kMeterChunk> kSilence{};

const double* ChunkOf(const double* channel, int start)
{
  return channel == nullptr ? kSilence.data() : channel + start;
}

} // namespace

void Velmora::ResetLevelFollowers()
{
  for (auto& follower : mLevelFollowers)
    follower.setSampleRate(GetSampleRate());
  mLevels.fill(0.0);
}

void Velmora::StartMeterFeed()
{
  // Written before the feed is switched on, so that the audio thread sees it once it sees the
  // feed on, and restarts the followers before stepping them again.
  mMeterRestartPending.store(true, std::memory_order_relaxed);
  mMeterFeedOn.store(true, std::memory_order_release);
}

void Velmora::StopMeterFeed()
{
  mMeterFeedOn.store(false, std::memory_order_release);
}

bool Velmora::TakeMeterFeedState()
{
  if (!mMeterFeedOn.load(std::memory_order_acquire))
    return false;
  if (mMeterRestartPending.exchange(false, std::memory_order_acq_rel))
  {
    mLevels.fill(0.0);
    SetUpMeterDelay(mMeterDelay);
  }
  return true;
}

void Velmora::SetUpMeterDelay(int latency)
{
  mMeterDelay = std::clamp(latency, 0, kMeterHistoryLength);
  mHistoryWrite = 0;
  mHistoryRead = (kMeterHistoryLength - mMeterDelay) % kMeterHistoryLength;
  for (auto& ring : mInputHistory)
    ring.fill(0.0);
}

void Velmora::DelayInputMagnitudes(const double* left, const double* right, int count,
                                   double* delayedLeft, double* delayedRight)
{
  auto& [historyL, historyR] = mInputHistory;
  for (int i = 0; i < count; ++i)
  {
    // Read before write, so that a delay of the whole ring still lags by the whole ring.
    const auto read = static_cast<size_t>(mHistoryRead);
    const auto write = static_cast<size_t>(mHistoryWrite);
    delayedLeft[i] = historyL[read];
    delayedRight[i] = historyR[read];
    historyL[write] = std::fabs(left[i]);
    historyR[write] = std::fabs(right[i]);
    mHistoryRead = (mHistoryRead + 1) % kMeterHistoryLength;
    mHistoryWrite = (mHistoryWrite + 1) % kMeterHistoryLength;
  }
}

void Velmora::UpdateMeters(double** inputs, double** outputs, int nOut, int nFrames,
                           bool delayInput)
{
  const double* inLeft = InputChannel(inputs, 0);
  const double* inRight = nOut > 1 ? InputChannel(inputs, 1) : inLeft;
  const double* outLeft = outputs[0];
  const double* outRight = nOut > 1 ? outputs[1] : outLeft;
  std::array<double, kNumMeters> attack{};
  std::array<double, kNumMeters> release{};
  FollowerCoefficients(attack, release);
  std::array<double, kMeterChunk> delayedLeft;
  std::array<double, kMeterChunk> delayedRight;

  for (int start = 0; start < nFrames; start += kMeterChunk)
  {
    const int count = std::min(kMeterChunk, nFrames - start);
    std::array<const double*, kNumMeters> sources{ChunkOf(inLeft, start), ChunkOf(inRight, start),
                                                  ChunkOf(outLeft, start),
                                                  ChunkOf(outRight, start)};
    if (delayInput)
    {
      DelayInputMagnitudes(sources[0], sources[1], count, delayedLeft.data(), delayedRight.data());
      sources[0] = delayedLeft.data();
      sources[1] = delayedRight.data();
    }
    mKernels->followLevels(sources.data(), count, attack.data(), release.data(), mLevels.data());
  }
  PushMeterReadings();
}

void Velmora::FollowerCoefficients(std::array<double, kNumMeters>& attack,
                                   std::array<double, kNumMeters>& release) const
{
  for (size_t k = 0; k < kNumMeters; ++k)
  {
    attack[k] = mLevelFollowers[k].getAttackCoef();
    release[k] = mLevelFollowers[k].getReleaseCoef();
  }
}

void Velmora::PushMeterReadings()
{
  // Tags 1 and 2 are the input meters, 3 and 4 the output meters; queue k carries tag k + 1.
  constexpr std::array<int, kNumMeters> kPushOrder{0, 2, 1, 3};
  for (const int meter : kPushOrder)
  {
    MeterSender::Data reading;
    reading.ctrlTag = meter + 1;
    reading.nChans = 1;
    reading.chanOffset = 0;
    reading.vals[0] = static_cast<float>(mLevels[static_cast<size_t>(meter)]);
    mMeterSenders[static_cast<size_t>(meter)].PushData(reading);
  }
}
