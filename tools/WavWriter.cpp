#include "tools/WavWriter.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>

namespace velmora::tools
{
namespace
{

void PutU32(std::ofstream& out, uint32_t v)
{
  const unsigned char bytes[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                                  static_cast<unsigned char>(v >> 16),
                                  static_cast<unsigned char>(v >> 24)};
  out.write(reinterpret_cast<const char*>(bytes), 4);
}

void PutU16(std::ofstream& out, uint16_t v)
{
  const unsigned char bytes[2] = {static_cast<unsigned char>(v),
                                  static_cast<unsigned char>(v >> 8)};
  out.write(reinterpret_cast<const char*>(bytes), 2);
}

} // namespace

bool WriteWavFloat32(const std::string& path, const StereoBuffer& audio, std::string& error)
{
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out)
  {
    error = "cannot open '" + path + "' for writing: " + std::strerror(errno);
    return false;
  }
  const uint32_t channels = 2;
  const uint32_t frames = static_cast<uint32_t>(audio.Frames());
  const uint32_t dataBytes = frames * channels * 4;
  const auto rate = static_cast<uint32_t>(audio.sampleRate);

  out.write("RIFF", 4);
  PutU32(out, 36 + dataBytes);
  out.write("WAVE", 4);
  out.write("fmt ", 4);
  PutU32(out, 16);
  PutU16(out, 3); // IEEE float
  PutU16(out, static_cast<uint16_t>(channels));
  PutU32(out, rate);
  PutU32(out, rate * channels * 4);
  PutU16(out, static_cast<uint16_t>(channels * 4));
  PutU16(out, 32);
  out.write("data", 4);
  PutU32(out, dataBytes);
  for (uint32_t i = 0; i < frames; ++i)
  {
    for (const auto* channel : {&audio.left, &audio.right})
    {
      const float sample = static_cast<float>((*channel)[i]);
      uint32_t bits = 0;
      std::memcpy(&bits, &sample, 4);
      PutU32(out, bits);
    }
  }
  if (!out)
  {
    error = "write to '" + path + "' failed";
    return false;
  }
  return true;
}

} // namespace velmora::tools
