#pragma once

#include "dsp/DspKernels.h"

#include <vector>

namespace velmora
{

// The variants this processor can run, the x86-64 baseline first and the widest last.
std::vector<const DspKernels*> SupportedDspKernels();

// The widest variant this processor can run, chosen once. Call it first outside the audio
// thread (engines take it at construction).
const DspKernels& FastestDspKernels();

} // namespace velmora
