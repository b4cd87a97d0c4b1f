#include "framework/vst3/VST3ParamChangeSplitter.h"

#include <algorithm>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace iplug
{

namespace
{

// Applies the queue's points from cursor on while their offset is at most limit.
void ApplyDue(IParamValueQueue& queue, int32& cursor, int32 limit,
              VST3ParamChangeSplitter::Client& client)
{
  const int32 count = queue.getPointCount();
  while (cursor < count)
  {
    int32 offset = 0;
    ParamValue value = 0.0;
    if (queue.getPoint(cursor, offset, value) != kResultOk)
    {
      ++cursor;
      continue;
    }
    offset = std::max(offset, int32{0});
    if (offset > limit)
      return;
    client.ApplyParamChange(queue.getParameterId(), value, offset);
    ++cursor;
  }
}

// Offset of the queue's next point, or fallback when it has none left.
int32 NextOffset(IParamValueQueue& queue, int32 cursor, int32 fallback)
{
  int32 offset = 0;
  ParamValue value = 0.0;
  if (cursor >= queue.getPointCount() || queue.getPoint(cursor, offset, value) != kResultOk)
    return fallback;
  return std::max(offset, int32{0});
}

} // namespace

void VST3ParamChangeSplitter::Run(IParameterChanges* changes, int32 nFrames, Client& client)
{
  const int32 nQueues = changes ? std::max(changes->getParameterCount(), int32{0}) : 0;
  const int32 tracked = std::min(nQueues, int32{kMaxTrackedQueues});
  std::fill(mCursor.begin(), mCursor.begin() + tracked, 0);

  for (int32 q = tracked; q < nQueues; ++q)
  {
    int32 cursor = 0;
    if (IParamValueQueue* queue = changes->getParameterData(q))
      ApplyDue(*queue, cursor, kMaxInt32, client);
  }

  int32 pos = 0;
  while (pos < nFrames)
  {
    int32 next = nFrames;
    for (int32 q = 0; q < tracked; ++q)
    {
      IParamValueQueue* queue = changes->getParameterData(q);
      if (!queue)
        continue;
      ApplyDue(*queue, mCursor[static_cast<size_t>(q)], pos, client);
      next = std::min(next, NextOffset(*queue, mCursor[static_cast<size_t>(q)], nFrames));
    }
    client.ProcessSegment(pos, next - pos);
    pos = next;
  }

  for (int32 q = 0; q < tracked; ++q)
  {
    if (IParamValueQueue* queue = changes->getParameterData(q))
      ApplyDue(*queue, mCursor[static_cast<size_t>(q)], kMaxInt32, client);
  }
}

} // namespace iplug
