#pragma once

#include <string>
#include <vector>

namespace velmora::host
{

// Audio as separate 64-bit channels at one sample rate.
struct AudioData
{
  double sampleRate = 48000.0;
  std::vector<std::vector<double>> channels;

  int Frames() const { return channels.empty() ? 0 : static_cast<int>(channels[0].size()); }
};

// Reads any file libsndfile understands (WAV only in the Windows build); false with a reason in
// error.
bool ReadAudioFile(const std::string& path, AudioData& audio, std::string& error);
// How written samples are stored: 32-bit float by default; 64-bit keeps every bit of what the
// plug-in computed, for comparing renders.
enum class SampleFormat
{
  Float32,
  Float64
};

// Writes a float WAV file; false with a reason in error.
bool WriteAudioFile(const std::string& path, const AudioData& audio, std::string& error,
                    SampleFormat format = SampleFormat::Float32);

} // namespace velmora::host
