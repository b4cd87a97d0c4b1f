// The host's WAV reader and writer: what it writes reads back as written, each sample format
// reads as its full-scale fraction, chunks it does not know are skipped, and damaged or
// nonsensical files are refused with a reason.
#include "tools/host/WavFile.h"
#include "tests/wav/WavFixtures.h"
#include "tools/host/Utf8Path.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdio>
#include <filesystem>

namespace velmora::test
{
namespace
{

using host::AudioData;

// The audio as a 32-bit float file holds it.
AudioData AsWritten(const AudioData& audio)
{
  AudioData written = audio;
  for (std::vector<double>& channel : written.channels)
    for (double& sample : channel)
      sample = static_cast<float>(sample);
  return written;
}

void ExpectSameAudio(const AudioData& actual, const AudioData& expected)
{
  EXPECT_EQ(actual.sampleRate, expected.sampleRate);
  ASSERT_EQ(actual.channels.size(), expected.channels.size());
  for (size_t c = 0; c < expected.channels.size(); ++c)
    EXPECT_EQ(actual.channels[c], expected.channels[c]) << "channel " << c;
}

TEST(WavFile, WhatIsWrittenReadsBackAsFloatSamples)
{
  for (const int channels : {1, 2, 3})
  {
    const AudioData audio = TestAudio(channels, 777, 44100.0 * channels);
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(host::EncodeWav(audio, 0, bytes, error)) << error;
    AudioData read;
    ASSERT_TRUE(host::DecodeWav(bytes, read, error)) << error;
    ExpectSameAudio(read, AsWritten(audio));
  }
}

TEST(WavFile, SixtyFourBitFilesKeepEverySample)
{
  const AudioData audio = TestAudio(2, 777, 48000.0);
  std::vector<uint8_t> bytes;
  std::string error;
  ASSERT_TRUE(host::EncodeWav(audio, 0, bytes, error, host::SampleFormat::Float64)) << error;
  AudioData read;
  ASSERT_TRUE(host::DecodeWav(bytes, read, error)) << error;
  ExpectSameAudio(read, audio);
}

TEST(WavFile, FilesWithAnyUtf8NameAreWrittenAndRead)
{
  const std::string path =
      TempPath("velmora-wav-\xC3\xBC-\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88.wav");
  const AudioData audio = TestAudio(2, 300, 48000.0);
  std::string error;
  ASSERT_TRUE(host::WriteWavFile(path, audio, error)) << error;
  AudioData read;
  ASSERT_TRUE(host::ReadWavFile(path, read, error)) << error;
  ExpectSameAudio(read, AsWritten(audio));
  std::filesystem::remove(host::PathFromUtf8(path));

  EXPECT_FALSE(host::ReadWavFile(path, read, error));
  EXPECT_NE(error.find(path), std::string::npos) << error;
}

struct SampleFormatCase
{
  const char* name;
  uint16_t tag;
  uint16_t bits;
  bool extensible;
  // Two stereo frames as PCM stores them (8-bit unsigned); float stores the expected values.
  std::vector<int64_t> stored;
  std::vector<double> expected;
};

std::vector<uint8_t> StoredSamples(const SampleFormatCase& format)
{
  std::vector<uint8_t> data;
  for (size_t i = 0; i < format.expected.size(); ++i)
  {
    const double value = format.expected[i];
    if (format.tag == 3 && format.bits == 32)
      AppendLe(data, std::bit_cast<uint32_t>(static_cast<float>(value)), 4);
    else if (format.tag == 3)
      AppendLe(data, std::bit_cast<uint64_t>(value), 8);
    else
      AppendLe(data, static_cast<uint64_t>(format.stored[i]), format.bits / 8);
  }
  return data;
}

class WavSampleFormat : public ::testing::TestWithParam<SampleFormatCase>
{
};

TEST_P(WavSampleFormat, ReadsAsFractionsOfFullScale)
{
  const SampleFormatCase& format = GetParam();
  const std::vector<uint8_t> file =
      RiffWave({{"fmt ", FmtBody(format.tag, 2, 96000, format.bits, format.extensible)},
                {"data", StoredSamples(format)}});
  AudioData read;
  std::string error;
  ASSERT_TRUE(host::DecodeWav(file, read, error)) << error;
  EXPECT_EQ(read.sampleRate, 96000.0);
  ASSERT_EQ(read.channels.size(), 2u);
  EXPECT_EQ(read.channels[0], (std::vector<double>{format.expected[0], format.expected[2]}));
  EXPECT_EQ(read.channels[1], (std::vector<double>{format.expected[1], format.expected[3]}));
}

INSTANTIATE_TEST_SUITE_P(
    Formats, WavSampleFormat,
    ::testing::Values(
        SampleFormatCase{"Pcm8", 1, 8, false, {0, 192, 96, 129}, {-1.0, 0.5, -0.25, 1.0 / 128}},
        SampleFormatCase{
            "Pcm16", 1, 16, false, {-32768, 16384, -8192, 1}, {-1.0, 0.5, -0.25, 1.0 / 32768}},
        SampleFormatCase{"Pcm24",
                         1,
                         24,
                         false,
                         {-8388608, 4194304, -2097152, 1},
                         {-1.0, 0.5, -0.25, 1.0 / 8388608}},
        SampleFormatCase{"Pcm32",
                         1,
                         32,
                         false,
                         {-2147483648LL, 1073741824, -536870912, 1},
                         {-1.0, 0.5, -0.25, 1.0 / 2147483648.0}},
        SampleFormatCase{"Float32", 3, 32, false, {}, {-1.0, 0.5, -0.25, 3.0}},
        SampleFormatCase{"Float64", 3, 64, false, {}, {-1.0, 0.5, -0.25, 0.1}},
        SampleFormatCase{"ExtensiblePcm16",
                         1,
                         16,
                         true,
                         {-32768, 16384, -8192, 1},
                         {-1.0, 0.5, -0.25, 1.0 / 32768}},
        SampleFormatCase{"ExtensiblePcm24",
                         1,
                         24,
                         true,
                         {-8388608, 4194304, -2097152, 1},
                         {-1.0, 0.5, -0.25, 1.0 / 8388608}},
        SampleFormatCase{"ExtensibleFloat32", 3, 32, true, {}, {-1.0, 0.5, -0.25, 3.0}}),
    [](const ::testing::TestParamInfo<SampleFormatCase>& info) { return info.param.name; });

TEST(WavFile, ChunksItDoesNotKnowAreSkippedWithTheirPadBytes)
{
  const AudioData audio = TestAudio(2, 5, 48000.0);
  std::vector<uint8_t> written;
  std::string error;
  ASSERT_TRUE(host::EncodeWav(audio, 0, written, error)) << error;
  AudioData plain;
  ASSERT_TRUE(host::DecodeWav(written, plain, error)) << error;

  // The same fmt and data bodies, between odd-sized chunks of other kinds.
  const std::vector<uint8_t> fmt = FmtBody(3, 2, 48000, 32, false);
  const std::vector<uint8_t> data(written.end() - 5 * 2 * 4, written.end());
  const std::vector<uint8_t> file = RiffWave({{"LIST", {'I', 'N', 'F'}},
                                              {"fmt ", fmt},
                                              {"junk", {1, 2, 3, 4, 5}},
                                              {"data", data},
                                              {"id3 ", {9}}});
  AudioData read;
  ASSERT_TRUE(host::DecodeWav(file, read, error)) << error;
  ExpectSameAudio(read, plain);
}

struct MalformedCase
{
  const char* name;
  std::vector<uint8_t> file;
  // A word the reason names.
  const char* reason;
};

std::vector<uint8_t> PcmFile(uint16_t channels, uint32_t rate, uint16_t bits)
{
  return RiffWave(
      {{"fmt ", FmtBody(1, channels, rate, bits, false)}, {"data", std::vector<uint8_t>(8, 0x11)}});
}

std::vector<uint8_t> WithU32(std::vector<uint8_t> file, size_t offset, uint32_t value)
{
  for (int i = 0; i < 4; ++i)
    file[offset + i] = static_cast<uint8_t>(value >> (8 * i));
  return file;
}

std::vector<uint8_t> Cut(std::vector<uint8_t> file, size_t bytes)
{
  file.resize(file.size() - bytes);
  return file;
}

std::vector<uint8_t> WithBadSubFormat()
{
  std::vector<uint8_t> fmt = FmtBody(1, 2, 48000, 16, true);
  fmt.back() ^= 0xFF;
  return RiffWave({{"fmt ", fmt}, {"data", std::vector<uint8_t>(8, 0)}});
}

std::vector<uint8_t> WithBlockAlign(uint16_t blockAlign)
{
  std::vector<uint8_t> fmt = FmtBody(1, 2, 48000, 16, false);
  fmt[12] = static_cast<uint8_t>(blockAlign);
  fmt[13] = static_cast<uint8_t>(blockAlign >> 8);
  return RiffWave({{"fmt ", fmt}, {"data", std::vector<uint8_t>(8, 0)}});
}

std::vector<uint8_t> WithStrayBytes()
{
  std::vector<uint8_t> file = PcmFile(2, 48000, 16);
  file.insert(file.end(), {'a', 'b', 'c', 'd'});
  return WithU32(file, 4, static_cast<uint32_t>(file.size() - 8));
}

class MalformedWav : public ::testing::TestWithParam<MalformedCase>
{
};

TEST_P(MalformedWav, IsRefusedWithAReason)
{
  AudioData read;
  std::string error;
  EXPECT_FALSE(host::DecodeWav(GetParam().file, read, error));
  EXPECT_NE(error.find(GetParam().reason), std::string::npos) << error;
}

// In the standard fixture the RIFF size is at byte 4, the fmt body at 20 and the data size at 40.
INSTANTIATE_TEST_SUITE_P(
    Files, MalformedWav,
    ::testing::Values(
        MalformedCase{"Empty", {}, "RIFF"},
        MalformedCase{"NotRiff", WithU32(PcmFile(2, 48000, 16), 0, 0x58464952), "RIFF"},
        MalformedCase{"CutInTheData", Cut(PcmFile(2, 48000, 16), 3), "truncated"},
        MalformedCase{"DataBeyondTheFile", WithU32(PcmFile(2, 48000, 16), 40, 0xFFFFFFF0), "data"},
        MalformedCase{"ChunkHeaderCut", WithStrayBytes(), "truncated"},
        MalformedCase{"NoChannels", PcmFile(0, 48000, 16), "channels"},
        MalformedCase{"NoSampleRate", PcmFile(2, 0, 16), "sample rate"},
        MalformedCase{"TwelveBitPcm", PcmFile(2, 48000, 12), "unsupported"},
        MalformedCase{"BlockAlignMismatch", WithBlockAlign(3), "block"},
        MalformedCase{"AbsurdBlockAlign", WithBlockAlign(0xFFFF), "block"},
        MalformedCase{"ForeignSubFormat", WithBadSubFormat(), "extensible"},
        MalformedCase{"ShortFmt",
                      RiffWave({{"fmt ", std::vector<uint8_t>(14, 1)}, {"data", {0, 0}}}), "fmt"},
        MalformedCase{"NoFmt", RiffWave({{"data", {0, 0, 0, 0}}}), "fmt"},
        MalformedCase{"NoData", RiffWave({{"fmt ", FmtBody(1, 2, 48000, 16, false)}}), "data"}),
    [](const ::testing::TestParamInfo<MalformedCase>& info) { return info.param.name; });

TEST(WavFile, AudioThatNoWavFileHoldsIsNotWritten)
{
  AudioData none;
  AudioData ragged = TestAudio(2, 10, 48000.0);
  ragged.channels[1].pop_back();
  AudioData noRate = TestAudio(1, 10, 0.0);
  for (const AudioData* audio : {&none, &ragged, &noRate})
  {
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_FALSE(host::EncodeWav(*audio, 0, bytes, error));
    EXPECT_FALSE(error.empty());
  }
}

} // namespace
} // namespace velmora::test
