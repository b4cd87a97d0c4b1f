#include "plugin/Velmora.h"

#include <algorithm>
#include <cmath>

namespace
{

double Magnitude(const double* channel, int i)
{
  return channel == nullptr ? 0.0 : std::fabs(channel[i]);
}

} // namespace

void Velmora::ResetLevelFollowers()
{
  for (auto& follower : mLevelFollowers)
    follower.setSampleRate(GetSampleRate());
  mLevels.fill(0.0);
}

void Velmora::SetUpMeterDelay(int latency)
{
  mMeterDelay = std::clamp(latency, 0, kMeterHistoryLength);
  mHistoryWrite = 0;
  mHistoryRead = (kMeterHistoryLength - mMeterDelay) % kMeterHistoryLength;
  for (auto& ring : mInputHistory)
    ring.fill(0.0);
}

void Velmora::UpdateMeters(double** inputs, double** outputs, int nOut, int nFrames,
                           bool delayInput)
{
  const double* inLeft = InputChannel(inputs, 0);
  const double* inRight = nOut > 1 ? InputChannel(inputs, 1) : inLeft;
  const double* outLeft = outputs[0];
  const double* outRight = nOut > 1 ? outputs[1] : outLeft;
  const auto& [followInL, followInR, followOutL, followOutR] = mLevelFollowers;
  // Local copies, so that the compiler can keep them in registers: the host's buffers could
  // otherwise alias them.
  auto [levelInL, levelInR, levelOutL, levelOutR] = mLevels;
  auto& [historyL, historyR] = mInputHistory;

  for (int i = 0; i < nFrames; ++i)
  {
    followOutL.run(Magnitude(outLeft, i), levelOutL);
    followOutR.run(Magnitude(outRight, i), levelOutR);
    double left = Magnitude(inLeft, i);
    double right = Magnitude(inRight, i);
    if (delayInput)
    {
      // Read before write, so that a delay of the whole ring still lags by the whole ring.
      const auto read = static_cast<size_t>(mHistoryRead);
      const auto write = static_cast<size_t>(mHistoryWrite);
      const double delayedLeft = historyL[read];
      const double delayedRight = historyR[read];
      historyL[write] = left;
      historyR[write] = right;
      left = delayedLeft;
      right = delayedRight;
      mHistoryRead = (mHistoryRead + 1) % kMeterHistoryLength;
      mHistoryWrite = (mHistoryWrite + 1) % kMeterHistoryLength;
    }
    followInL.run(left, levelInL);
    followInR.run(right, levelInR);
  }
  mLevels = {levelInL, levelInR, levelOutL, levelOutR};

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
