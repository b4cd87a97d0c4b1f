// Audio files through libsndfile: every format it reads, and float WAV written as it writes it.
#include "tools/host/AudioFile.h"

#include <sndfile.h>

#include <memory>

namespace velmora::host
{

namespace
{

struct SndfileCloser
{
  void operator()(SNDFILE* file) const { sf_close(file); }
};
using SndfilePtr = std::unique_ptr<SNDFILE, SndfileCloser>;

} // namespace

bool ReadAudioFile(const std::string& path, AudioData& audio, std::string& error)
{
  SF_INFO info{};
  SndfilePtr file(sf_open(path.c_str(), SFM_READ, &info));
  if (!file)
  {
    error = "cannot read " + path + ": " + sf_strerror(nullptr);
    return false;
  }
  if (info.channels < 1 || info.frames < 0)
  {
    error = path + " holds no audio channels";
    return false;
  }
  const auto nChannels = static_cast<size_t>(info.channels);
  const auto nFrames = static_cast<size_t>(info.frames);
  std::vector<double> interleaved(nChannels * nFrames);
  const sf_count_t read = sf_readf_double(file.get(), interleaved.data(), info.frames);
  audio.sampleRate = info.samplerate;
  audio.channels.assign(nChannels, std::vector<double>(static_cast<size_t>(read)));
  for (size_t f = 0; f < static_cast<size_t>(read); ++f)
    for (size_t c = 0; c < nChannels; ++c)
      audio.channels[c][f] = interleaved[f * nChannels + c];
  return true;
}

bool WriteAudioFile(const std::string& path, const AudioData& audio, std::string& error,
                    SampleFormat format)
{
  SF_INFO info{};
  info.samplerate = static_cast<int>(audio.sampleRate);
  info.channels = static_cast<int>(audio.channels.size());
  info.format =
      SF_FORMAT_WAV | (format == SampleFormat::Float64 ? SF_FORMAT_DOUBLE : SF_FORMAT_FLOAT);
  if (info.channels < 1 || !sf_format_check(&info))
  {
    error = "cannot write " + std::to_string(info.channels) + " channel(s) at " +
            std::to_string(info.samplerate) + " Hz as WAV";
    return false;
  }
  SndfilePtr file(sf_open(path.c_str(), SFM_WRITE, &info));
  if (!file)
  {
    error = "cannot write " + path + ": " + sf_strerror(nullptr);
    return false;
  }
  const auto nChannels = audio.channels.size();
  const auto nFrames = static_cast<size_t>(audio.Frames());
  std::vector<double> interleaved(nChannels * nFrames);
  for (size_t f = 0; f < nFrames; ++f)
    for (size_t c = 0; c < nChannels; ++c)
      interleaved[f * nChannels + c] = audio.channels[c][f];
  if (sf_writef_double(file.get(), interleaved.data(), static_cast<sf_count_t>(nFrames)) !=
      static_cast<sf_count_t>(nFrames))
  {
    error = "writing " + path + " failed: " + sf_strerror(file.get());
    return false;
  }
  return true;
}

} // namespace velmora::host
