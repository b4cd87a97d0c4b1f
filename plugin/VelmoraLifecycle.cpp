#include "plugin/Velmora.h"

#include <algorithm>

void Velmora::OnReset()
{
  // Values a host set on the controller side while processing was stopped reach no block's
  // change handling; the curve starts from the values in force.
  UpdateCoefficients();
  RefreshCurve();
  ResetLevelFollowers();
  // Grown here, never shrunk: the engine rebuild below gives it its exact length.
  const auto needed = static_cast<size_t>(std::max(GetBlockSize(), kMinEngineBlock));
  if (mScratch.size() < needed)
    mScratch.resize(needed);
  ResetPathSwitch();
  RebuildOversampler();
  ReportLatencyIfChanged(IsOversamplingOn() ? mOversamplingLatency : 0);
  // A report the audio thread queued before this reset is superseded by the one just made.
  mLatencyReportPending.store(false, std::memory_order_release);
}

void Velmora::OnIdle()
{
  int latency = 0;
  if (TakeLatencyReport(latency))
    ReportLatencyIfChanged(latency);
  // Tag order: every queued reading of meter 1, then 2, 3 and 4.
  for (MeterSender& sender : mMeterSenders)
    sender.TransmitData(*this);
}

void Velmora::OnParamChangeUI(int paramIdx, iplug::EParamSource)
{
  if (paramIdx == kOversampling)
    RequestPathSwitch(GetParam(kOversampling)->Value());
}

void Velmora::ReportLatencyIfChanged(int latency)
{
  if (latency == mReportedLatency)
    return;
  SetLatency(latency);
  mReportedLatency = latency;
}
