#include "plugin/Velmora.h"

#include <algorithm>

// Ordering between the two threads: a request stores the wanted path and then looks at the
// switch flag; the end of a fade-in clears the flag and then looks at the wanted path. With
// sequentially consistent accesses at least one side sees the other, so no request is lost, and
// mSwitchClaimed lets only one of them write the fade values when both would start a switch.

void Velmora::RequestPathSwitch(double value)
{
  const bool on = value >= 0.5;
  if (mWasOffline.load())
    mUserOversampling.store(on);
  mOversamplingRequested.store(on);
  // A running switch takes the latest request when its fade-out ends, or starts again when its
  // fade-in ends on the other path.
  if (mPathSwitchActive.load())
    return;
  if (on == mOversamplingOn.load())
    return;
  if (mSwitchClaimed.exchange(true))
    return;
  mFadingOut.store(true, std::memory_order_relaxed);
  mFadeCountdown.store(kFadeLength, std::memory_order_relaxed);
  mPathSwitchActive.store(true, std::memory_order_release);
}

void Velmora::ResetPathSwitch()
{
  mPathSwitchActive.store(false);
  mSwitchClaimed.store(false);
  mFadeCountdown.store(0);
  mFadingOut.store(true);
  mFlushPending = false;
  mFlushRemaining = 0;

  const bool offline = GetRenderingOffline();
  const bool wasOffline = mWasOffline.load();
  if (offline && !wasOffline)
  {
    mUserOversampling.store(mOversamplingRequested.load());
    mOversamplingOn.store(true);
    mOversamplingRequested.store(true);
  }
  else if (!offline && wasOffline)
  {
    const bool user = mUserOversampling.load();
    mOversamplingOn.store(user);
    mOversamplingRequested.store(user);
  }
  else if (!offline)
  {
    // A reset is silent, so a request still waiting for its fade takes effect here at once.
    mOversamplingOn.store(mOversamplingRequested.load());
  }
  mWasOffline.store(offline);
  mOversamplingRequested.store(mOversamplingOn.load());
}

bool Velmora::TakeLatencyReport(int& latency)
{
  // Clearing the flag before reading the value means a change queued meanwhile sets it again
  // and is picked up next time instead of being cleared unseen.
  if (!mLatencyReportPending.exchange(false, std::memory_order_acq_rel))
    return false;
  latency = mLatencyToReport.load(std::memory_order_acquire);
  return true;
}

void Velmora::ApplyRampAndAdvanceSwitch(double** outputs, int nOut, int nFrames, bool fadingOut)
{
  const int countdown = mFadeCountdown.load(std::memory_order_acquire);
  const int covered = std::min(nOut, 2);
  const double start = static_cast<double>(kFadeLength - countdown);
  for (int i = 0; i < nFrames; ++i)
  {
    const double g = std::clamp((start + i) / kFadeLength, 0.0, 1.0);
    const double gain = fadingOut ? 1.0 - 0.9 * g : 0.1 + 0.9 * g;
    for (int c = 0; c < covered; ++c)
    {
      if (outputs[c] != nullptr)
        outputs[c][i] *= gain;
    }
  }

  if (countdown - nFrames > 0)
    mFadeCountdown.store(countdown - nFrames, std::memory_order_release);
  else if (fadingOut)
    ChangePathAfterFadeOut();
  else
    FinishFadeIn();
}

void Velmora::ChangePathAfterFadeOut()
{
  const bool on = mOversamplingRequested.load();
  mOversamplingOn.store(on, std::memory_order_release);
  mLatencyToReport.store(on ? mOversamplingLatency : 0, std::memory_order_relaxed);
  mLatencyReportPending.store(true, std::memory_order_release);
  if (on && mOversamplingLatency > 0 && IsEngineAvailable())
  {
    StartFlush();
    mFadeCountdown.store(0, std::memory_order_release);
  }
  else
  {
    // The plain path never waits for the resamplers.
    mFlushPending = false;
    mFlushRemaining = 0;
    mFadeCountdown.store(kFadeLength, std::memory_order_release);
  }
  mFadingOut.store(false, std::memory_order_release);
}

void Velmora::FinishFadeIn()
{
  mFadeCountdown.store(0, std::memory_order_relaxed);
  mFadingOut.store(true, std::memory_order_relaxed);
  mPathSwitchActive.store(false);
  mSwitchClaimed.store(false);
  // A request that arrived during the fade-in, or while the flag was being cleared, starts the
  // next switch at once; a request racing this start finds the claim taken.
  if (mOversamplingRequested.load() == mOversamplingOn.load() || mSwitchClaimed.exchange(true))
    return;
  mFadingOut.store(true, std::memory_order_relaxed);
  mFadeCountdown.store(kFadeLength, std::memory_order_relaxed);
  mPathSwitchActive.store(true, std::memory_order_release);
}
