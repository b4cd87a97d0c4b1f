// Audio files where libsndfile is not available: WAV only, read and written by the host itself.
#include "tools/host/AudioFile.h"

#include "tools/host/WavFile.h"

namespace velmora::host
{

bool ReadAudioFile(const std::string& path, AudioData& audio, std::string& error)
{
  return ReadWavFile(path, audio, error);
}

bool WriteAudioFile(const std::string& path, const AudioData& audio, std::string& error,
                    SampleFormat format)
{
  return WriteWavFile(path, audio, error, format);
}

} // namespace velmora::host
