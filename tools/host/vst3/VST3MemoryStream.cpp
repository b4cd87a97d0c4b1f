#include "tools/host/vst3/VST3MemoryStream.h"

#include <algorithm>
#include <cstring>

using namespace Steinberg;

namespace velmora::host::vst3
{

tresult PLUGIN_API VST3MemoryStream::queryInterface(const TUID iid, void** obj)
{
  if (!obj)
    return kInvalidArgument;
  if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) ||
      FUnknownPrivate::iidEqual(iid, IBStream::iid))
  {
    *obj = static_cast<IBStream*>(this);
    return kResultOk;
  }
  *obj = nullptr;
  return kNoInterface;
}

tresult PLUGIN_API VST3MemoryStream::read(void* buffer, int32 numBytes, int32* numBytesRead)
{
  if (numBytesRead)
    *numBytesRead = 0;
  if (numBytes < 0 || (numBytes > 0 && !buffer))
    return kInvalidArgument;
  const size_t available = mBytes.size() - std::min(mPosition, mBytes.size());
  size_t count = std::min(available, static_cast<size_t>(numBytes));
  bool failed = false;
  if (mPosition + count > mReadLimit)
  {
    count = mReadLimit > mPosition ? mReadLimit - mPosition : 0;
    failed = true;
  }
  if (count > 0)
    std::memcpy(buffer, mBytes.data() + mPosition, count);
  mPosition += count;
  if (numBytesRead)
    *numBytesRead = static_cast<int32>(count);
  failed = failed || (mFailShortReads && count < static_cast<size_t>(numBytes));
  return failed ? kResultFalse : kResultOk;
}

tresult PLUGIN_API VST3MemoryStream::write(void* buffer, int32 numBytes, int32* numBytesWritten)
{
  if (numBytesWritten)
    *numBytesWritten = 0;
  if (numBytes < 0 || (numBytes > 0 && !buffer))
    return kInvalidArgument;
  const auto count = static_cast<size_t>(numBytes);
  if (mBytes.size() < mPosition + count)
    mBytes.resize(mPosition + count);
  if (count > 0)
    std::memcpy(mBytes.data() + mPosition, buffer, count);
  mPosition += count;
  if (numBytesWritten)
    *numBytesWritten = numBytes;
  return kResultOk;
}

tresult PLUGIN_API VST3MemoryStream::seek(int64 pos, int32 mode, int64* result)
{
  int64 base = 0;
  if (mode == kIBSeekCur)
    base = static_cast<int64>(mPosition);
  else if (mode == kIBSeekEnd)
    base = static_cast<int64>(mBytes.size());
  else if (mode != kIBSeekSet)
    return kInvalidArgument;
  const int64 target = base + pos;
  if (target < 0 || target > static_cast<int64>(mBytes.size()))
    return kInvalidArgument;
  mPosition = static_cast<size_t>(target);
  if (result)
    *result = target;
  return kResultOk;
}

tresult PLUGIN_API VST3MemoryStream::tell(int64* pos)
{
  if (!pos)
    return kInvalidArgument;
  *pos = static_cast<int64>(mPosition);
  return kResultOk;
}

} // namespace velmora::host::vst3
