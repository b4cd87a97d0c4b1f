// State of IPlugVST3: the plug-in's state chunk followed by the bypass word, all on the
// component side.
#include "framework/vst3/IPlugVST3.h"

#include "framework/vst3/VST3StateStream.h"

#include <new>

using namespace Steinberg;

namespace iplug
{

namespace
{

// WaveLab reports failure on the read that reaches the end of the stream although it delivered
// bytes, so those bytes count there.
bool HostKeepsBytesOfFailedRead(const std::string& hostName)
{
  return hostName.find("WaveLab") != std::string::npos;
}

} // namespace

tresult IPlugVST3::GetComponentSideState(IBStream* state)
{
  ServiceMainThread();
  if (!state)
    return kInvalidArgument;
  try
  {
    return WriteState(*state);
  }
  catch (const std::bad_alloc&)
  {
    return kOutOfMemory;
  }
}

tresult IPlugVST3::WriteState(IBStream& state)
{
  IByteChunk chunk;
  if (!SerializeState(chunk))
    return kResultFalse;
  if (!WriteAll(state, chunk.GetData(), static_cast<size_t>(chunk.Size())) ||
      !WriteInt32LE(state, IsBypassed() ? 1 : 0))
    return kResultFalse;
  return kResultOk;
}

tresult IPlugVST3::SetComponentSideState(IBStream* state)
{
  ServiceMainThread();
  if (!state)
    return kInvalidArgument;
  try
  {
    return ReadState(*state);
  }
  catch (const std::bad_alloc&)
  {
    return kOutOfMemory;
  }
}

tresult IPlugVST3::ReadState(IBStream& state)
{
  const std::vector<uint8_t> bytes = ReadWholeStream(state, HostKeepsBytesOfFailedRead(mHostName));
  IByteChunk chunk;
  if (!bytes.empty() && chunk.PutBytes(bytes.data(), static_cast<int>(bytes.size())) < 0)
    return kResultFalse;
  const int endPos = UnserializeState(chunk, 0);
  if (endPos < 0)
    return kResultFalse;
  int64 reached = 0;
  int32_t bypass = 0;
  if (state.seek(endPos, IBStream::kIBSeekSet, &reached) != kResultOk || reached != endPos ||
      !ReadInt32LE(state, bypass))
    return kResultFalse;
  mBypass.store(bypass != 0);
  OnRestoreState();
  return kResultOk;
}

tresult IPlugVST3::SetControllerSideState(IBStream*)
{
  return kResultOk;
}

tresult IPlugVST3::GetControllerSideState(IBStream*)
{
  return kResultOk;
}

} // namespace iplug
