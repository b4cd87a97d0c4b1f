#pragma once

#include "tools/host/AudioFile.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velmora::test
{

// Little-endian bytes of the value's lowest byteCount bytes.
void AppendLe(std::vector<uint8_t>& bytes, uint64_t value, int byteCount);

struct WavChunk
{
  std::string id;
  std::vector<uint8_t> body;
};

// A RIFF WAVE file holding the chunks in order, each odd-sized one followed by its pad byte.
std::vector<uint8_t> RiffWave(const std::vector<WavChunk>& chunks);

// The body of a fmt chunk: the plain 16 bytes, or WAVE_FORMAT_EXTENSIBLE with the tag as its
// sub-format.
std::vector<uint8_t> FmtBody(uint16_t tag, uint16_t channels, uint32_t sampleRate, uint16_t bits,
                             bool extensible);

// Audio that differs in every channel and goes past full scale in places, as saturated output
// can.
host::AudioData TestAudio(int channels, int frames, double sampleRate);

// A path in the temporary folder, of this program's own; the name may hold any UTF-8.
std::string TempPath(const std::string& name);
std::vector<uint8_t> ReadBytes(const std::string& path);

} // namespace velmora::test
