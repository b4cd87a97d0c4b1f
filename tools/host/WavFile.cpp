#include "tools/host/WavFile.h"

#include "tools/host/Utf8Path.h"

#include <array>
#include <bit>
#include <climits>
#include <cmath>
#include <cstring>
#include <ctime>
#include <fstream>
#include <optional>

namespace velmora::host
{

namespace
{

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatFloat = 3;
constexpr uint16_t kFormatExtensible = 0xFFFE;
// The part of a WAVE_FORMAT_EXTENSIBLE sub-format GUID that follows the format tag.
constexpr std::array<uint8_t, 14> kSubFormatTail{0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                                 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
constexpr size_t kFmtBytes = 16;
// The extensible fmt chunk's own fields after the basic 18 bytes: valid bits, channel mask, GUID.
constexpr size_t kExtensionBytes = 22;
constexpr size_t kExtensibleFmtBytes = 18 + kExtensionBytes;
// A RIFF header's 32-bit size cannot describe a larger file.
constexpr uint64_t kMaxRiffBytes = uint64_t{8} + UINT32_MAX;
// AudioData counts frames in an int; more samples than this are not held in memory either.
constexpr uint64_t kMaxSamples = INT_MAX;

uint16_t U16(const uint8_t* p)
{
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t U32(const uint8_t* p)
{
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

uint64_t U64(const uint8_t* p)
{
  return static_cast<uint64_t>(U32(p)) | (static_cast<uint64_t>(U32(p + 4)) << 32);
}

bool IsTag(const uint8_t* p, const char* tag)
{
  return std::memcmp(p, tag, 4) == 0;
}

// Integer samples are scaled by their full range, so the most negative value reads as -1.
double Pcm8(const uint8_t* p)
{
  return (p[0] - 128) / 128.0;
}

double Pcm16(const uint8_t* p)
{
  return static_cast<int16_t>(U16(p)) / 32768.0;
}

double Pcm24(const uint8_t* p)
{
  // The three bytes go to the top of a 32-bit word, which keeps the sign.
  const uint32_t word = (static_cast<uint32_t>(p[0]) << 8) | (static_cast<uint32_t>(p[1]) << 16) |
                        (static_cast<uint32_t>(p[2]) << 24);
  return static_cast<int32_t>(word) / 2147483648.0;
}

double Pcm32(const uint8_t* p)
{
  return static_cast<int32_t>(U32(p)) / 2147483648.0;
}

double Float32(const uint8_t* p)
{
  return std::bit_cast<float>(U32(p));
}

double Float64(const uint8_t* p)
{
  return std::bit_cast<double>(U64(p));
}

using SampleDecoder = double (*)(const uint8_t*);

struct Format
{
  uint16_t channels = 0;
  uint32_t sampleRate = 0;
  uint16_t blockAlign = 0;
  uint16_t bitsPerSample = 0;
  SampleDecoder decode = nullptr;
};

SampleDecoder DecoderFor(uint16_t tag, uint16_t bits)
{
  if (tag == kFormatPcm)
  {
    switch (bits)
    {
    case 8:
      return &Pcm8;
    case 16:
      return &Pcm16;
    case 24:
      return &Pcm24;
    case 32:
      return &Pcm32;
    default:
      return nullptr;
    }
  }
  if (tag == kFormatFloat)
  {
    if (bits == 32)
      return &Float32;
    if (bits == 64)
      return &Float64;
  }
  return nullptr;
}

bool ParseFormat(std::span<const uint8_t> body, Format& format, std::string& error)
{
  if (body.size() < kFmtBytes)
  {
    error = "the fmt chunk is too short";
    return false;
  }
  uint16_t tag = U16(&body[0]);
  format.channels = U16(&body[2]);
  format.sampleRate = U32(&body[4]);
  format.blockAlign = U16(&body[12]);
  format.bitsPerSample = U16(&body[14]);
  if (tag == kFormatExtensible)
  {
    if (body.size() < kExtensibleFmtBytes || U16(&body[16]) < kExtensionBytes)
    {
      error = "the extensible fmt chunk is too short";
      return false;
    }
    if (U16(&body[18]) > format.bitsPerSample ||
        std::memcmp(&body[26], kSubFormatTail.data(), kSubFormatTail.size()) != 0)
    {
      error = "the extensible fmt chunk names no WAVE sample format";
      return false;
    }
    tag = U16(&body[24]);
  }
  if (format.channels == 0)
  {
    error = "the file holds no audio channels";
    return false;
  }
  if (format.sampleRate == 0)
  {
    error = "the file gives no sample rate";
    return false;
  }
  format.decode = DecoderFor(tag, format.bitsPerSample);
  if (!format.decode)
  {
    error = "unsupported sample format (tag " + std::to_string(tag) + ", " +
            std::to_string(format.bitsPerSample) + " bits)";
    return false;
  }
  if (format.blockAlign != uint32_t{format.channels} * (format.bitsPerSample / 8u))
  {
    error = "the block size does not match the channels and sample size";
    return false;
  }
  return true;
}

// Fills a buffer of the final size from its start.
class ByteWriter
{
public:
  explicit ByteWriter(std::vector<uint8_t>& bytes) : mBytes(bytes) {}

  void Tag(const char* tag)
  {
    for (int i = 0; i < 4; ++i)
      mBytes[mAt++] = static_cast<uint8_t>(tag[i]);
  }
  void U16(uint16_t value)
  {
    mBytes[mAt++] = static_cast<uint8_t>(value);
    mBytes[mAt++] = static_cast<uint8_t>(value >> 8);
  }
  void U32(uint32_t value)
  {
    U16(static_cast<uint16_t>(value));
    U16(static_cast<uint16_t>(value >> 16));
  }
  void F32(float value) { U32(std::bit_cast<uint32_t>(value)); }
  void F64(double value)
  {
    const auto bits = std::bit_cast<uint64_t>(value);
    U32(static_cast<uint32_t>(bits));
    U32(static_cast<uint32_t>(bits >> 32));
  }

private:
  std::vector<uint8_t>& mBytes;
  size_t mAt = 0;
};

} // namespace

bool DecodeWav(std::span<const uint8_t> bytes, AudioData& audio, std::string& error)
{
  if (bytes.size() < 12 || !IsTag(&bytes[0], "RIFF") || !IsTag(&bytes[8], "WAVE"))
  {
    error = "not a RIFF WAVE file";
    return false;
  }
  const uint64_t end = uint64_t{8} + U32(&bytes[4]);
  if (end > bytes.size())
  {
    error = "truncated: the RIFF chunk claims " + std::to_string(end) + " bytes, the file has " +
            std::to_string(bytes.size());
    return false;
  }
  std::optional<Format> format;
  std::optional<std::span<const uint8_t>> data;
  // A chunk of odd size is followed by a pad byte, which a last chunk may lack.
  for (uint64_t pos = 12; pos < end;)
  {
    if (end - pos < 8)
    {
      error = "truncated chunk header at byte " + std::to_string(pos);
      return false;
    }
    const uint8_t* header = &bytes[pos];
    const uint32_t size = U32(header + 4);
    const uint64_t bodyStart = pos + 8;
    if (size > end - bodyStart)
    {
      error = "the '" + std::string(reinterpret_cast<const char*>(header), 4) +
              "' chunk runs past the end of the file";
      return false;
    }
    const auto body = bytes.subspan(bodyStart, size);
    if (IsTag(header, "fmt ") && !format)
    {
      format.emplace();
      if (!ParseFormat(body, *format, error))
        return false;
    }
    else if (IsTag(header, "data") && !data)
      data = body;
    pos = bodyStart + size + (size & 1u);
  }
  if (!format)
  {
    error = "no fmt chunk";
    return false;
  }
  if (!data)
  {
    error = "no data chunk";
    return false;
  }
  const size_t frames = data->size() / format->blockAlign;
  if (uint64_t{frames} * format->channels > kMaxSamples)
  {
    error = "more samples than the host can hold";
    return false;
  }
  const size_t sampleBytes = format->bitsPerSample / 8u;
  audio.sampleRate = format->sampleRate;
  audio.channels.assign(format->channels, std::vector<double>(frames));
  for (size_t f = 0; f < frames; ++f)
  {
    const uint8_t* frame = data->data() + f * format->blockAlign;
    for (size_t c = 0; c < format->channels; ++c)
      audio.channels[c][f] = format->decode(frame + c * sampleBytes);
  }
  return true;
}

bool EncodeWav(const AudioData& audio, uint32_t peakTimeStamp, std::vector<uint8_t>& bytes,
               std::string& error, SampleFormat format)
{
  const size_t channels = audio.channels.size();
  const auto frames = static_cast<size_t>(audio.Frames());
  const bool wide = format == SampleFormat::Float64;
  const uint64_t sampleBytes = wide ? 8 : 4;
  const uint64_t blockAlign = sampleBytes * channels;
  const uint64_t byteRate = blockAlign * static_cast<uint64_t>(audio.sampleRate);
  if (channels < 1 || blockAlign > UINT16_MAX || !(audio.sampleRate >= 1.0) ||
      audio.sampleRate > INT_MAX || byteRate > UINT32_MAX)
  {
    error = "cannot write " + std::to_string(channels) + " channel(s) at " +
            std::to_string(static_cast<int>(audio.sampleRate)) + " Hz as WAV";
    return false;
  }
  for (const std::vector<double>& channel : audio.channels)
  {
    if (channel.size() != frames)
    {
      error = "the channels to write differ in length";
      return false;
    }
  }
  const uint64_t peakBytes = 8 + 8 * uint64_t{channels};
  const uint64_t dataBytes = blockAlign * frames;
  const uint64_t fileBytes = 12 + (8 + kFmtBytes) + (8 + 4) + (8 + peakBytes) + (8 + dataBytes);
  if (fileBytes > kMaxRiffBytes)
  {
    error = "the audio is too long for a WAV file";
    return false;
  }

  // Each channel's peak: its first largest magnitude as written (the chunk holds it as a float).
  std::vector<double> peaks(channels, 0.0);
  std::vector<uint32_t> peakFrames(channels, 0);
  for (size_t c = 0; c < channels; ++c)
  {
    for (size_t f = 0; f < frames; ++f)
    {
      const double sample = audio.channels[c][f];
      const double written = wide ? sample : static_cast<double>(static_cast<float>(sample));
      if (std::fabs(written) > peaks[c])
      {
        peaks[c] = std::fabs(written);
        peakFrames[c] = static_cast<uint32_t>(f);
      }
    }
  }

  bytes.assign(static_cast<size_t>(fileBytes), 0);
  ByteWriter out(bytes);
  out.Tag("RIFF");
  out.U32(static_cast<uint32_t>(fileBytes - 8));
  out.Tag("WAVE");
  out.Tag("fmt ");
  out.U32(kFmtBytes);
  out.U16(kFormatFloat);
  out.U16(static_cast<uint16_t>(channels));
  out.U32(static_cast<uint32_t>(audio.sampleRate));
  out.U32(static_cast<uint32_t>(byteRate));
  out.U16(static_cast<uint16_t>(blockAlign));
  out.U16(static_cast<uint16_t>(8 * sampleBytes));
  out.Tag("fact");
  out.U32(4);
  out.U32(static_cast<uint32_t>(frames));
  out.Tag("PEAK");
  out.U32(static_cast<uint32_t>(peakBytes));
  out.U32(1); // the chunk's version
  out.U32(peakTimeStamp);
  for (size_t c = 0; c < channels; ++c)
  {
    out.F32(static_cast<float>(peaks[c]));
    out.U32(peakFrames[c]);
  }
  out.Tag("data");
  out.U32(static_cast<uint32_t>(dataBytes));
  for (size_t f = 0; f < frames; ++f)
  {
    for (size_t c = 0; c < channels; ++c)
    {
      if (wide)
        out.F64(audio.channels[c][f]);
      else
        out.F32(static_cast<float>(audio.channels[c][f]));
    }
  }
  return true;
}

bool ReadWavFile(const std::string& path, AudioData& audio, std::string& error)
{
  std::ifstream file(PathFromUtf8(path), std::ios::binary | std::ios::ate);
  if (!file)
  {
    error = "cannot read " + path + ": the file cannot be opened";
    return false;
  }
  const std::streamoff size = file.tellg();
  if (size < 0 || static_cast<uint64_t>(size) > kMaxRiffBytes)
  {
    error = "cannot read " + path + ": larger than a WAV file can be";
    return false;
  }
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  file.seekg(0);
  file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!file)
  {
    error = "cannot read " + path + ": reading failed";
    return false;
  }
  std::string reason;
  if (!DecodeWav(bytes, audio, reason))
  {
    error = "cannot read " + path + ": " + reason;
    return false;
  }
  return true;
}

bool WriteWavFile(const std::string& path, const AudioData& audio, std::string& error,
                  SampleFormat format)
{
  std::vector<uint8_t> bytes;
  if (!EncodeWav(audio, static_cast<uint32_t>(std::time(nullptr)), bytes, error, format))
    return false;
  std::ofstream file(PathFromUtf8(path), std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  file.close();
  if (!file)
  {
    error = "cannot write " + path;
    return false;
  }
  return true;
}

} // namespace velmora::host
