#include "framework/core/IByteChunk.h"

#include <algorithm>
#include <exception>

namespace iplug
{

bool IByteChunk::Reserve(int64_t newSize)
{
  if (newSize < 0 || newSize > INT_MAX)
    return false;
  if (static_cast<size_t>(newSize) <= mBytes.capacity())
    return true;
  const int64_t stepped = std::min<int64_t>((newSize + kGrowthStep - 1) / kGrowthStep * kGrowthStep,
                                            static_cast<int64_t>(INT_MAX));
  try
  {
    mBytes.reserve(static_cast<size_t>(stepped));
  }
  catch (const std::exception&)
  {
    return false;
  }
  return true;
}

int IByteChunk::PutBytes(const void* pSrc, int nBytes)
{
  if (nBytes < 0 || (nBytes > 0 && pSrc == nullptr))
    return -1;
  const int64_t newSize = static_cast<int64_t>(mBytes.size()) + nBytes;
  if (!Reserve(newSize))
    return -1;
  const auto* src = static_cast<const uint8_t*>(pSrc);
  mBytes.insert(mBytes.end(), src, src + nBytes);
  return Size();
}

int IByteChunk::GetBytes(void* pDst, int nBytes, int startPos) const
{
  if (nBytes < 0 || startPos < 0 || (nBytes > 0 && pDst == nullptr))
    return -1;
  const int64_t endPos = static_cast<int64_t>(startPos) + nBytes;
  if (endPos > static_cast<int64_t>(mBytes.size()))
    return -1;
  if (nBytes > 0)
    std::memcpy(pDst, mBytes.data() + startPos, static_cast<size_t>(nBytes));
  return static_cast<int>(endPos);
}

int IByteChunk::PutChunk(const IByteChunk& other)
{
  if (&other == this)
  {
    const IByteChunk copy = other;
    return PutBytes(copy.GetData(), copy.Size());
  }
  return PutBytes(other.GetData(), other.Size());
}

int IByteChunk::Resize(int newSize)
{
  if (!Reserve(newSize))
    return -1;
  mBytes.resize(static_cast<size_t>(newSize), 0);
  return Size();
}

void IByteChunk::Reverse(unsigned char* bytes, size_t n)
{
  std::reverse(bytes, bytes + n);
}

} // namespace iplug
