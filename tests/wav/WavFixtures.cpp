#include "tests/wav/WavFixtures.h"

#include "tools/host/Utf8Path.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace velmora::test
{

void AppendLe(std::vector<uint8_t>& bytes, uint64_t value, int byteCount)
{
  for (int i = 0; i < byteCount; ++i)
    bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

std::vector<uint8_t> RiffWave(const std::vector<WavChunk>& chunks)
{
  std::vector<uint8_t> body{'W', 'A', 'V', 'E'};
  for (const WavChunk& chunk : chunks)
  {
    body.insert(body.end(), chunk.id.begin(), chunk.id.end());
    AppendLe(body, chunk.body.size(), 4);
    body.insert(body.end(), chunk.body.begin(), chunk.body.end());
    if (chunk.body.size() % 2 != 0)
      body.push_back(0);
  }
  std::vector<uint8_t> file{'R', 'I', 'F', 'F'};
  AppendLe(file, body.size(), 4);
  file.insert(file.end(), body.begin(), body.end());
  return file;
}

std::vector<uint8_t> FmtBody(uint16_t tag, uint16_t channels, uint32_t sampleRate, uint16_t bits,
                             bool extensible)
{
  const uint32_t blockAlign = uint32_t{channels} * bits / 8;
  std::vector<uint8_t> body;
  AppendLe(body, extensible ? 0xFFFE : tag, 2);
  AppendLe(body, channels, 2);
  AppendLe(body, sampleRate, 4);
  AppendLe(body, sampleRate * blockAlign, 4);
  AppendLe(body, blockAlign, 2);
  AppendLe(body, bits, 2);
  if (extensible)
  {
    AppendLe(body, 22, 2);   // size of the extension
    AppendLe(body, bits, 2); // valid bits
    AppendLe(body, 0, 4);    // channel mask
    AppendLe(body, tag, 2);
    const uint8_t guidTail[] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    body.insert(body.end(), std::begin(guidTail), std::end(guidTail));
  }
  return body;
}

host::AudioData TestAudio(int channels, int frames, double sampleRate)
{
  host::AudioData audio;
  audio.sampleRate = sampleRate;
  audio.channels.assign(static_cast<size_t>(channels), std::vector<double>(frames));
  for (int c = 0; c < channels; ++c)
  {
    for (int f = 0; f < frames; ++f)
      audio.channels[c][f] = 1.3 * std::sin(0.01 * (f + 1) * (c + 1)) + 0.001 * c;
  }
  return audio;
}

std::string TempPath(const std::string& name)
{
  // Test programs of several builds may run at once.
  static const std::string kRun = std::to_string(std::random_device()());
  return host::Utf8FromPath(std::filesystem::temp_directory_path() /
                            host::PathFromUtf8(kRun + "-" + name));
}

std::vector<uint8_t> ReadBytes(const std::string& path)
{
  std::ifstream file(host::PathFromUtf8(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

} // namespace velmora::test
