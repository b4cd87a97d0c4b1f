#pragma once

#include "pluginterfaces/base/ibstream.h"

#include <cstdint>
#include <vector>

namespace iplug
{

// Reads a host stream in blocks of 128 bytes until a read yields nothing or fails. A failing
// read ends the loop; its bytes are kept only when keepBytesOfFailedRead is set (hosts known to
// report failure on their last partial read).
std::vector<uint8_t> ReadWholeStream(Steinberg::IBStream& stream, bool keepBytesOfFailedRead);

// Writes every byte, repeating partial writes; false when the stream stops taking bytes.
bool WriteAll(Steinberg::IBStream& stream, const void* data, size_t size);

// Reads a little-endian signed 32-bit integer; false when four bytes are not available.
bool ReadInt32LE(Steinberg::IBStream& stream, int32_t& value);

// Writes a little-endian signed 32-bit integer.
bool WriteInt32LE(Steinberg::IBStream& stream, int32_t value);

} // namespace iplug
