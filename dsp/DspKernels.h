#pragma once

namespace velmora
{

struct ShaperCoefficients;

// What the curve kernel does about samples that are not finite.
enum class SampleGuard
{
  None,               // the curve as it is: NaN and infinity pass through it
  ZeroNonFiniteInput, // a non-finite input sample is taken as 0
  ZeroNonFiniteOutput // a non-finite result is written as 0
};

// The hot loops of the signal processing, built once per instruction set. Every variant computes
// the curve and the followers bit for bit as the others; the filters of variants with fused
// multiply-adds round once per tap instead of twice.
struct DspKernels
{
  const char* name;

  // The full saturation curve over count samples; input and output may be the same array.
  void (*shape)(const double* input, double* output, int count, const ShaperCoefficients& c,
                SampleGuard guard);

  // Steps four attack/release followers over count frames: follower k takes the magnitudes of
  // sources[k], with a non-finite magnitude counting as silence.
  void (*followLevels)(const double* const* sources, int count, const double* attackCoefs,
                       const double* releaseCoefs, double* levels);

  // The plain path in one pass: shapes channels (1 or 2) inputs into outputs, taking non-finite
  // inputs as 0, and steps followers as followLevels does over input left, input right, output
  // left and output right as the buffers stand after shaping (one channel feeds both sides).
  // Gives what shape followed by followLevels gives, also for inputs that are the outputs.
  void (*shapeAndFollow)(const double* const* inputs, double* const* outputs, int channels,
                         int count, const ShaperCoefficients& c, const double* attackCoefs,
                         const double* releaseCoefs, double* levels);

  // Two polyphase branches of a 2x interpolator: output[2m] and output[2m + 1] are the dot
  // products of evenTaps and oddTaps (branchLength each) with history[m ...].
  void (*interpolate2x)(const double* evenTaps, const double* oddTaps, int branchLength,
                        const double* history, int length, double* output);

  // A 2x decimator on a history split into its even and odd samples: output[m] sums, tap by tap
  // in the filter's order, evenTaps[j] * evenPhase[m + j] and oddTaps[j] * oddPhase[m + j].
  void (*decimate2x)(const double* evenTaps, int evenCount, const double* oddTaps, int oddCount,
                     const double* evenPhase, const double* oddPhase, int count, double* output);
};

} // namespace velmora
