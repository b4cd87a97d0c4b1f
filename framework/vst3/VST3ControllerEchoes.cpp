#include "framework/vst3/VST3ControllerEchoes.h"

#include "framework/vst3/VST3ParameterInfo.h"

#include <bit>
#include <cstddef>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace iplug
{

VST3ControllerEchoes::VST3ControllerEchoes(int nParams)
    : mParams(nParams), mExpected(static_cast<size_t>(nParams + 2)),
      mAwaited(static_cast<size_t>(nParams + 2))
{
}

int VST3ControllerEchoes::Slot(ParamID id) const
{
  if (id < static_cast<ParamID>(mParams))
    return static_cast<int>(id);
  if (id == kBypassParamId)
    return mParams;
  if (id == kPresetParamId)
    return mParams + 1;
  return -1;
}

void VST3ControllerEchoes::Expect(ParamID id, double value)
{
  const int slot = Slot(id);
  if (slot < 0)
    return;
  Expected& expected = mExpected[static_cast<size_t>(slot)];
  expected.valueBits.store(std::bit_cast<uint64_t>(value), std::memory_order_relaxed);
  // Publishes the value: a reader that sees the new serial sees it (or a later one).
  expected.serial.fetch_add(1, std::memory_order_release);
}

VST3ControllerEchoes::Awaited& VST3ControllerEchoes::Refresh(int slot)
{
  Awaited& awaited = mAwaited[static_cast<size_t>(slot)];
  const uint32_t serial =
      mExpected[static_cast<size_t>(slot)].serial.load(std::memory_order_acquire);
  if (serial != awaited.seenSerial)
  {
    awaited.seenSerial = serial;
    awaited.age = 0;
    awaited.pending = true;
  }
  return awaited;
}

void VST3ControllerEchoes::BlockStarting(IParameterChanges* changes)
{
  for (Awaited& awaited : mAwaited)
  {
    awaited.pointsApplied = 0;
    awaited.lastCopy = -1;
  }
  const int32 nQueues = changes ? changes->getParameterCount() : 0;
  for (int32 q = 0; q < nQueues; ++q)
  {
    IParamValueQueue* queue = changes->getParameterData(q);
    const int slot = queue ? Slot(queue->getParameterId()) : -1;
    if (slot < 0)
      continue;
    Awaited& awaited = Refresh(slot);
    if (!awaited.pending)
      continue;
    const uint64_t expected =
        mExpected[static_cast<size_t>(slot)].valueBits.load(std::memory_order_relaxed);
    // Counts the points the way they are applied: a point that cannot be read is skipped.
    int32 applied = 0;
    for (int32 p = 0; p < queue->getPointCount(); ++p)
    {
      int32 offset = 0;
      ParamValue value = 0.0;
      if (queue->getPoint(p, offset, value) != kResultOk)
        continue;
      if (std::bit_cast<uint64_t>(value) == expected)
        awaited.lastCopy = applied;
      ++applied;
    }
    if (awaited.lastCopy >= 0)
      awaited.pending = false;
  }
}

bool VST3ControllerEchoes::IsCopy(ParamID id)
{
  const int slot = Slot(id);
  if (slot < 0)
    return false;
  Awaited& awaited = mAwaited[static_cast<size_t>(slot)];
  return awaited.pointsApplied++ <= awaited.lastCopy;
}

void VST3ControllerEchoes::BlockDone()
{
  for (int slot = 0; slot < static_cast<int>(mAwaited.size()); ++slot)
  {
    Awaited& awaited = Refresh(slot);
    if (awaited.pending && ++awaited.age > kLapseBlocks)
      awaited.pending = false;
  }
}

} // namespace iplug
