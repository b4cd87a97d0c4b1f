#include "framework/vst3/VST3StateStream.h"

#include <algorithm>
#include <array>
#include <limits>

using namespace Steinberg;

namespace iplug
{

namespace
{

constexpr int32 kReadBlockSize = 128;
// Refuses endless streams rather than exhausting memory.
constexpr size_t kMaxStateBytes = size_t{64} << 20;

} // namespace

std::vector<uint8_t> ReadWholeStream(IBStream& stream, bool keepBytesOfFailedRead)
{
  std::vector<uint8_t> bytes;
  std::array<uint8_t, kReadBlockSize> block{};
  while (bytes.size() < kMaxStateBytes)
  {
    int32 numRead = 0;
    const tresult result = stream.read(block.data(), kReadBlockSize, &numRead);
    numRead = std::clamp(numRead, int32{0}, kReadBlockSize);
    const bool failed = result != kResultOk;
    if (!failed || keepBytesOfFailedRead)
      bytes.insert(bytes.end(), block.begin(), block.begin() + numRead);
    if (failed || numRead == 0)
      break;
  }
  return bytes;
}

bool WriteAll(IBStream& stream, const void* data, size_t size)
{
  const auto* bytes = static_cast<const uint8_t*>(data);
  while (size > 0)
  {
    const auto request =
        static_cast<int32>(std::min(size, static_cast<size_t>(std::numeric_limits<int32>::max())));
    int32 written = 0;
    // The buffer is only read by the stream; the interface merely lacks const.
    if (stream.write(const_cast<uint8_t*>(bytes), request, &written) != kResultOk || written <= 0 ||
        written > request)
      return false;
    bytes += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

bool ReadInt32LE(IBStream& stream, int32_t& value)
{
  std::array<uint8_t, 4> raw{};
  int32 numRead = 0;
  if (stream.read(raw.data(), 4, &numRead) != kResultOk || numRead != 4)
    return false;
  value = static_cast<int32_t>(
      static_cast<uint32_t>(raw[0]) | (static_cast<uint32_t>(raw[1]) << 8) |
      (static_cast<uint32_t>(raw[2]) << 16) | (static_cast<uint32_t>(raw[3]) << 24));
  return true;
}

bool WriteInt32LE(IBStream& stream, int32_t value)
{
  const auto bits = static_cast<uint32_t>(value);
  const std::array<uint8_t, 4> raw{static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8),
                                   static_cast<uint8_t>(bits >> 16),
                                   static_cast<uint8_t>(bits >> 24)};
  return WriteAll(stream, raw.data(), raw.size());
}

} // namespace iplug
