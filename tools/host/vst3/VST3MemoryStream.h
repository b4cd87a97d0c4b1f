#pragma once

#include "pluginterfaces/base/ibstream.h"

#include <cstdint>
#include <limits>
#include <vector>

namespace velmora::host::vst3
{

// A host-owned byte stream over memory. Reads past the end deliver what is left and succeed;
// a read limit makes a read that crosses it deliver the bytes up to it and report failure, as a
// failing disk or network stream would. Lifetime is the owner's: reference counting is inert.
class VST3MemoryStream final : public Steinberg::IBStream
{
public:
  VST3MemoryStream() = default;
  explicit VST3MemoryStream(std::vector<uint8_t> bytes) : mBytes(std::move(bytes)) {}

  const std::vector<uint8_t>& Bytes() const { return mBytes; }
  void FailReadsBeyond(size_t byteLimit) { mReadLimit = byteLimit; }
  // Reports failure on reads that deliver fewer bytes than asked for (with those bytes), as
  // some hosts' streams do at their end.
  void FailShortReads() { mFailShortReads = true; }

  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
  Steinberg::uint32 PLUGIN_API release() override { return 1; }

  Steinberg::tresult PLUGIN_API read(void* buffer, Steinberg::int32 numBytes,
                                     Steinberg::int32* numBytesRead) override;
  Steinberg::tresult PLUGIN_API write(void* buffer, Steinberg::int32 numBytes,
                                      Steinberg::int32* numBytesWritten) override;
  Steinberg::tresult PLUGIN_API seek(Steinberg::int64 pos, Steinberg::int32 mode,
                                     Steinberg::int64* result) override;
  Steinberg::tresult PLUGIN_API tell(Steinberg::int64* pos) override;

private:
  std::vector<uint8_t> mBytes;
  size_t mPosition = 0;
  size_t mReadLimit = std::numeric_limits<size_t>::max();
  bool mFailShortReads = false;
};

} // namespace velmora::host::vst3
