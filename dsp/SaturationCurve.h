#pragma once

#include "dsp/ShaperCoefficients.h"

namespace velmora
{

// The eleven curve parameters in their real units (dB, plain numbers, percent).
struct ShaperSettings
{
  double threshold = 0.0;
  double thresholdAsym = 0.0;
  double nonlinearity = 1.0;
  double nonlinearityAsym = 0.0;
  double knee = 0.1;
  double kneeAsym = 0.0;
  double modA = 0.0;
  double modB = 0.0;
  double gain = 0.0;
  double mix = 50.0;
  double output = 0.0;
};

ShaperCoefficients ComputeShaperCoefficients(const ShaperSettings& settings);

// Drive, polynomial, sine and threshold stages for one value: the curve without mix and output.
double ShapeStatic(double x, const ShaperCoefficients& c);

// The full curve over count samples on the widest kernel variant; input and output may be the same
// array. Its sine differs from std::sin by at most 1e-15 (see dsp/kernels/VectorSine.h).
void ShapeSamples(const double* input, double* output, int count, const ShaperCoefficients& c);

} // namespace velmora
