// Compares two renders sample by sample: prints the largest difference and whether every sample
// has the same bits, and fails when the files differ in shape or by more than the tolerance.
//   compare_renders A.wav B.wav TOLERANCE
#include "tools/host/AudioFile.h"

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
  if (argc != 4)
  {
    std::fprintf(stderr, "usage: compare_renders A.wav B.wav TOLERANCE\n");
    return 2;
  }
  velmora::host::AudioData a;
  velmora::host::AudioData b;
  std::string error;
  if (!velmora::host::ReadAudioFile(argv[1], a, error) ||
      !velmora::host::ReadAudioFile(argv[2], b, error))
  {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 2;
  }
  const double tolerance = std::strtod(argv[3], nullptr);
  if (a.sampleRate != b.sampleRate || a.channels.size() != b.channels.size() ||
      a.Frames() != b.Frames() || a.Frames() == 0)
  {
    std::fprintf(stderr, "the renders differ in rate, channels or length, or are empty\n");
    return 1;
  }
  double largest = 0.0;
  size_t differentBits = 0;
  for (size_t c = 0; c < a.channels.size(); ++c)
  {
    for (size_t f = 0; f < a.channels[c].size(); ++f)
    {
      const double x = a.channels[c][f];
      const double y = b.channels[c][f];
      if (std::bit_cast<uint64_t>(x) != std::bit_cast<uint64_t>(y))
        ++differentBits;
      const double difference = std::fabs(x - y);
      // A NaN on either side is a difference beyond any tolerance.
      largest = std::isnan(difference) ? INFINITY : std::fmax(largest, difference);
    }
  }
  std::printf(
      "%zu x %d samples: largest difference %.3g, %s\n", a.channels.size(), a.Frames(), largest,
      differentBits == 0 ? "bit-identical"
                         : (std::to_string(differentBits) + " samples differ in bits").c_str());
  return largest <= tolerance ? 0 : 1;
}
