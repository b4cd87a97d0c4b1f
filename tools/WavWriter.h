#pragma once

#include "tools/DemoSignal.h"

#include <string>

namespace velmora::tools
{

// Writes 32-bit float stereo WAV; false with a reason in error when the file cannot be written.
bool WriteWavFloat32(const std::string& path, const StereoBuffer& audio, std::string& error);

} // namespace velmora::tools
