#pragma once

// The kernels of one instruction set; see dsp/DspKernels.h for what each computes.

#include "dsp/DspKernels.h"

namespace velmora::VELMORA_KERNEL_ISA
{

void Shape(const double* input, double* output, int count, const ShaperCoefficients& c,
           SampleGuard guard);
void FollowLevels(const double* const* sources, int count, const double* attackCoefs,
                  const double* releaseCoefs, double* levels);
void ShapeAndFollow(const double* const* inputs, double* const* outputs, int channels, int count,
                    const ShaperCoefficients& c, const double* attackCoefs,
                    const double* releaseCoefs, double* levels);
void Interpolate2x(const double* evenTaps, const double* oddTaps, int branchLength,
                   const double* history, int length, double* output);
void Decimate2x(const double* evenTaps, int evenCount, const double* oddTaps, int oddCount,
                const double* evenPhase, const double* oddPhase, int count, double* output);

const DspKernels& Kernels();

} // namespace velmora::VELMORA_KERNEL_ISA
