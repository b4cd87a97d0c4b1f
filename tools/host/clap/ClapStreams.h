#pragma once

#include "framework/clap/ClapCore.h"

#include <cstdint>
#include <vector>

namespace velmora::host
{

// A host's output stream into memory. It may accept only a few bytes per write, as some hosts'
// streams do, or fail at a given write.
class ClapMemoryOStream
{
public:
  struct Behaviour
  {
    uint64_t maxBytesPerWrite = UINT64_MAX;
    // The write (0 = first) that reports an error; negative: none does.
    int failingWrite = -1;
  };

  ClapMemoryOStream() : ClapMemoryOStream(Behaviour{}) {}
  explicit ClapMemoryOStream(const Behaviour& behaviour);
  ClapMemoryOStream(const ClapMemoryOStream&) = delete;
  ClapMemoryOStream& operator=(const ClapMemoryOStream&) = delete;

  const clapabi::clap_ostream* Record() const { return &mRecord; }
  const std::vector<uint8_t>& Bytes() const { return mBytes; }

private:
  static int64_t Write(const clapabi::clap_ostream* stream, const void* buffer, uint64_t size);

  clapabi::clap_ostream mRecord{};
  Behaviour mBehaviour;
  int mWrites = 0;
  std::vector<uint8_t> mBytes;
};

// A host's input stream from memory, with the ways real streams misbehave: short reads, a read
// that reports an error, or a read that claims the end early.
class ClapMemoryIStream
{
public:
  struct Behaviour
  {
    uint64_t maxBytesPerRead = UINT64_MAX;
    // The read (0 = first) that returns -1; negative: none does.
    int failingRead = -1;
    // The read (0 = first) that returns 0 whatever is left; negative: none does.
    int endingRead = -1;
  };

  ClapMemoryIStream(std::vector<uint8_t> bytes) : ClapMemoryIStream(std::move(bytes), Behaviour{})
  {
  }
  ClapMemoryIStream(std::vector<uint8_t> bytes, const Behaviour& behaviour);
  ClapMemoryIStream(const ClapMemoryIStream&) = delete;
  ClapMemoryIStream& operator=(const ClapMemoryIStream&) = delete;

  const clapabi::clap_istream* Record() const { return &mRecord; }

private:
  static int64_t Read(const clapabi::clap_istream* stream, void* buffer, uint64_t size);

  clapabi::clap_istream mRecord{};
  Behaviour mBehaviour;
  std::vector<uint8_t> mBytes;
  size_t mPos = 0;
  int mReads = 0;
};

} // namespace velmora::host
