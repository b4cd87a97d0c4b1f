#include "tools/host/clap/ClapStreams.h"

#include <algorithm>
#include <cstring>

namespace velmora::host
{

ClapMemoryOStream::ClapMemoryOStream(const Behaviour& behaviour) : mBehaviour(behaviour)
{
  mRecord.ctx = this;
  mRecord.write = &ClapMemoryOStream::Write;
}

int64_t ClapMemoryOStream::Write(const clapabi::clap_ostream* stream, const void* buffer,
                                 uint64_t size)
{
  auto* self = static_cast<ClapMemoryOStream*>(stream->ctx);
  if (self->mWrites++ == self->mBehaviour.failingWrite)
    return -1;
  const uint64_t n = std::min(size, self->mBehaviour.maxBytesPerWrite);
  const auto* bytes = static_cast<const uint8_t*>(buffer);
  self->mBytes.insert(self->mBytes.end(), bytes, bytes + n);
  return static_cast<int64_t>(n);
}

ClapMemoryIStream::ClapMemoryIStream(std::vector<uint8_t> bytes, const Behaviour& behaviour)
    : mBehaviour(behaviour), mBytes(std::move(bytes))
{
  mRecord.ctx = this;
  mRecord.read = &ClapMemoryIStream::Read;
}

int64_t ClapMemoryIStream::Read(const clapabi::clap_istream* stream, void* buffer, uint64_t size)
{
  auto* self = static_cast<ClapMemoryIStream*>(stream->ctx);
  const int read = self->mReads++;
  if (read == self->mBehaviour.failingRead)
    return -1;
  if (read == self->mBehaviour.endingRead)
    return 0;
  const uint64_t left = self->mBytes.size() - self->mPos;
  const uint64_t n = std::min({size, left, self->mBehaviour.maxBytesPerRead});
  if (n > 0)
    std::memcpy(buffer, self->mBytes.data() + self->mPos, n);
  self->mPos += n;
  return static_cast<int64_t>(n);
}

} // namespace velmora::host
