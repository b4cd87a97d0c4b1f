#pragma once

#include <bit>
#include <climits>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <vector>

namespace iplug
{

// A growable run of bytes for saved state. Numbers are stored little-endian whatever the
// machine's order, so a chunk written here reads back the same on any host.
class IByteChunk
{
public:
  // Storage grows in whole steps so that many small puts do not reallocate each time.
  static constexpr int kGrowthStep = 4096;

  // Appends nBytes from pSrc; returns the new size, or -1 (chunk unchanged) when the chunk
  // cannot grow or the arguments are unusable.
  int PutBytes(const void* pSrc, int nBytes);
  // Copies nBytes starting at startPos into pDst; returns the position after them, or -1
  // (pDst untouched) when they do not all lie inside the chunk.
  int GetBytes(void* pDst, int nBytes, int startPos) const;

  template <typename T> int Put(const T* pVal)
  {
    static_assert(std::is_arithmetic_v<T>, "only numbers have a defined byte order");
    unsigned char bytes[sizeof(T)];
    ToLittleEndian(*pVal, bytes);
    return PutBytes(bytes, static_cast<int>(sizeof(T)));
  }

  template <typename T> int Get(T* pDst, int startPos) const
  {
    static_assert(std::is_arithmetic_v<T>, "only numbers have a defined byte order");
    unsigned char bytes[sizeof(T)];
    const int endPos = GetBytes(bytes, static_cast<int>(sizeof(T)), startPos);
    if (endPos >= 0)
      *pDst = FromLittleEndian<T>(bytes);
    return endPos;
  }

  // Appends another chunk's bytes; same result as PutBytes.
  int PutChunk(const IByteChunk& other);

  // Sets the size, zero-filling new bytes; returns the new size, or -1 (unchanged) on failure.
  int Resize(int newSize);
  void Clear() { mBytes.clear(); }
  int Size() const { return static_cast<int>(mBytes.size()); }
  uint8_t* GetData() { return mBytes.data(); }
  const uint8_t* GetData() const { return mBytes.data(); }
  bool IsEqual(const IByteChunk& other) const { return mBytes == other.mBytes; }

private:
  template <typename T> static void ToLittleEndian(T value, unsigned char* out)
  {
    std::memcpy(out, &value, sizeof(T));
    if constexpr (std::endian::native == std::endian::big)
      Reverse(out, sizeof(T));
  }

  template <typename T> static T FromLittleEndian(unsigned char* in)
  {
    if constexpr (std::endian::native == std::endian::big)
      Reverse(in, sizeof(T));
    T value;
    std::memcpy(&value, in, sizeof(T));
    return value;
  }

  static void Reverse(unsigned char* bytes, size_t n);
  // Makes room for newSize bytes in whole growth steps; false when that is impossible.
  bool Reserve(int64_t newSize);

  std::vector<uint8_t> mBytes;
};

} // namespace iplug
