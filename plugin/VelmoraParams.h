#pragma once

// Parameter indices; the index is also each parameter's identity towards hosts.
enum EParams
{
  kThreshold = 0,
  kThresholdAsym,
  kNonlinearity,
  kNonlinearityAsym,
  kKnee,
  kKneeAsym,
  kModA,
  kModB,
  kGain,
  kMix,
  kOutput,
  kOversampling,
  kNumParams
};
