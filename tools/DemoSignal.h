#pragma once

#include <vector>

namespace velmora::tools
{

// A few seconds of stereo music made in code: a kick, a bass line and a chord pad.
struct StereoBuffer
{
  double sampleRate = 48000.0;
  std::vector<double> left;
  std::vector<double> right;

  int Frames() const { return static_cast<int>(left.size()); }
};

StereoBuffer MakeDemoSignal(double sampleRate, double seconds = 6.0);

} // namespace velmora::tools
