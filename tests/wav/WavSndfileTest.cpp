// The host's WAV code against libsndfile, which the Linux host reads and writes with: the same
// audio gives the same file bytes (but for the PEAK chunk's time stamp), and each side reads
// the other's files with the same samples.
#include "tests/wav/WavFixtures.h"
#include "tools/host/WavFile.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>

namespace velmora::test
{
namespace
{

using host::AudioData;

struct SndfileCloser
{
  void operator()(SNDFILE* file) const { sf_close(file); }
};
using SndfilePtr = std::unique_ptr<SNDFILE, SndfileCloser>;

std::vector<double> Interleaved(const AudioData& audio)
{
  std::vector<double> samples;
  for (int f = 0; f < audio.Frames(); ++f)
    for (const std::vector<double>& channel : audio.channels)
      samples.push_back(channel[f]);
  return samples;
}

void WriteWithSndfile(const std::string& path, const AudioData& audio, int format)
{
  SF_INFO info{};
  info.samplerate = static_cast<int>(audio.sampleRate);
  info.channels = static_cast<int>(audio.channels.size());
  info.format = format;
  SndfilePtr file(sf_open(path.c_str(), SFM_WRITE, &info));
  ASSERT_TRUE(file) << sf_strerror(nullptr);
  const std::vector<double> samples = Interleaved(audio);
  ASSERT_EQ(sf_writef_double(file.get(), samples.data(), audio.Frames()), audio.Frames());
}

AudioData ReadWithSndfile(const std::string& path)
{
  SF_INFO info{};
  SndfilePtr file(sf_open(path.c_str(), SFM_READ, &info));
  EXPECT_TRUE(file) << sf_strerror(nullptr);
  AudioData audio;
  if (!file)
    return audio;
  std::vector<double> samples(static_cast<size_t>(info.frames * info.channels));
  EXPECT_EQ(sf_readf_double(file.get(), samples.data(), info.frames), info.frames);
  audio.sampleRate = info.samplerate;
  audio.channels.assign(info.channels, std::vector<double>(info.frames));
  for (sf_count_t f = 0; f < info.frames; ++f)
    for (int c = 0; c < info.channels; ++c)
      audio.channels[c][f] = samples[f * info.channels + c];
  return audio;
}

// The time stamp libsndfile put into its PEAK chunk: the chunk's second word.
uint32_t PeakTimeStamp(const std::vector<uint8_t>& file)
{
  const char tag[] = "PEAK";
  const auto chunk = std::search(file.begin(), file.end(), tag, tag + 4);
  EXPECT_NE(chunk, file.end());
  if (file.end() - chunk < 16)
    return 0;
  uint32_t stamp = 0;
  std::memcpy(&stamp, &*(chunk + 12), sizeof(stamp));
  return stamp;
}

// Where two files first differ, or their common length.
size_t FirstDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
  return static_cast<size_t>(std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first -
                             a.begin());
}

// Mono and stereo, which is what the host writes: from three channels on, the peaks libsndfile
// writes are not those of the whole file.
TEST(WavAgainstSndfile, OurFloatFileHasTheBytesLibsndfileWrites)
{
  const std::pair<host::SampleFormat, int> formats[] = {
      {host::SampleFormat::Float32, SF_FORMAT_FLOAT},
      {host::SampleFormat::Float64, SF_FORMAT_DOUBLE}};
  for (const auto& [format, sndfileFormat] : formats)
  {
    for (const int channels : {1, 2})
    {
      AudioData audio = TestAudio(channels, 1000, 48000.0);
      // Peaks that tie, and peaks that only tie once rounded to float.
      audio.channels[0][100] = 1.5;
      audio.channels[0][200] = -1.5;
      audio.channels.back()[300] = 1.25000000001;
      audio.channels.back()[301] = 1.25000000002;
      const std::string path = TempPath("velmora-sndfile-" + std::to_string(channels) + ".wav");
      WriteWithSndfile(path, audio, SF_FORMAT_WAV | sndfileFormat);
      const std::vector<uint8_t> theirs = ReadBytes(path);
      std::filesystem::remove(path);

      std::vector<uint8_t> ours;
      std::string error;
      ASSERT_TRUE(host::EncodeWav(audio, PeakTimeStamp(theirs), ours, error, format)) << error;
      const std::string what = std::to_string(channels) + " channel(s), format " +
                               std::to_string(static_cast<int>(format));
      EXPECT_EQ(ours.size(), theirs.size()) << what;
      EXPECT_EQ(FirstDifference(ours, theirs), std::min(ours.size(), theirs.size())) << what;
    }
  }
}

TEST(WavAgainstSndfile, LibsndfileReadsOurFileWithTheSamplesWeRead)
{
  const AudioData audio = TestAudio(2, 4096, 44100.0);
  const std::string path = TempPath("velmora-ours-for-sndfile.wav");
  std::string error;
  ASSERT_TRUE(host::WriteWavFile(path, audio, error)) << error;
  AudioData ours;
  ASSERT_TRUE(host::ReadWavFile(path, ours, error)) << error;
  const AudioData theirs = ReadWithSndfile(path);
  std::filesystem::remove(path);
  EXPECT_EQ(theirs.sampleRate, ours.sampleRate);
  EXPECT_EQ(theirs.channels, ours.channels);
}

struct SndfileFormat
{
  const char* name;
  int format;
};

class WavFromSndfile : public ::testing::TestWithParam<SndfileFormat>
{
};

TEST_P(WavFromSndfile, ReadsWithTheSamplesLibsndfileReads)
{
  AudioData audio = TestAudio(2, 2000, 96000.0);
  // Integer formats clip; keep to full scale so that both sides read the values written.
  for (std::vector<double>& channel : audio.channels)
    for (double& sample : channel)
      sample = std::clamp(sample, -1.0, 1.0);
  const std::string path =
      TempPath(std::string("velmora-from-sndfile-") + GetParam().name + ".wav");
  WriteWithSndfile(path, audio, GetParam().format);
  const AudioData theirs = ReadWithSndfile(path);
  AudioData ours;
  std::string error;
  ASSERT_TRUE(host::ReadWavFile(path, ours, error)) << error;
  std::filesystem::remove(path);
  EXPECT_EQ(ours.sampleRate, theirs.sampleRate);
  EXPECT_EQ(ours.channels, theirs.channels);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, WavFromSndfile,
    ::testing::Values(SndfileFormat{"Pcm8", SF_FORMAT_WAV | SF_FORMAT_PCM_U8},
                      SndfileFormat{"Pcm16", SF_FORMAT_WAV | SF_FORMAT_PCM_16},
                      SndfileFormat{"Pcm24", SF_FORMAT_WAV | SF_FORMAT_PCM_24},
                      SndfileFormat{"Pcm32", SF_FORMAT_WAV | SF_FORMAT_PCM_32},
                      SndfileFormat{"Float32", SF_FORMAT_WAV | SF_FORMAT_FLOAT},
                      SndfileFormat{"Float64", SF_FORMAT_WAV | SF_FORMAT_DOUBLE},
                      SndfileFormat{"ExtensiblePcm16", SF_FORMAT_WAVEX | SF_FORMAT_PCM_16},
                      SndfileFormat{"ExtensiblePcm24", SF_FORMAT_WAVEX | SF_FORMAT_PCM_24},
                      SndfileFormat{"ExtensibleFloat32", SF_FORMAT_WAVEX | SF_FORMAT_FLOAT}),
    [](const ::testing::TestParamInfo<SndfileFormat>& info) { return info.param.name; });

} // namespace
} // namespace velmora::test
