#include "framework/vst3/VST3PendingRecall.h"

#include <cstddef>

namespace iplug
{

VST3PendingRecall::VST3PendingRecall(int nParams) : mLaterEdits(static_cast<size_t>(nParams)) {}

void VST3PendingRecall::Arrived(int preset)
{
  // Edits before this program change are what it replaces.
  for (LaterEdit& edit : mLaterEdits)
    edit.edited.store(false, std::memory_order_relaxed);
  mPending.store(preset, std::memory_order_release);
}

void VST3PendingRecall::EditArrived(int paramIdx, double normalized, double replaced)
{
  if (paramIdx < 0 || static_cast<size_t>(paramIdx) >= mLaterEdits.size() || Pending() < 0)
    return;
  LaterEdit& edit = mLaterEdits[static_cast<size_t>(paramIdx)];
  // The first edit after the program change replaced the value the recall must see.
  if (!edit.edited.load(std::memory_order_relaxed))
    edit.replaced.store(replaced, std::memory_order_relaxed);
  edit.normalized.store(normalized, std::memory_order_relaxed);
  edit.edited.store(true, std::memory_order_release);
}

bool VST3PendingRecall::Apply(const Steps& steps)
{
  int preset = Pending();
  if (preset < 0)
    return false;
  do
  {
    for (size_t i = 0; i < mLaterEdits.size(); ++i)
    {
      if (mLaterEdits[i].edited.load(std::memory_order_acquire))
        steps.store(static_cast<int>(i), mLaterEdits[i].replaced.load(std::memory_order_relaxed));
    }
    steps.recall(preset);
  } while (!mPending.compare_exchange_strong(preset, -1, std::memory_order_acq_rel) && preset >= 0);
  for (size_t i = 0; i < mLaterEdits.size(); ++i)
  {
    if (mLaterEdits[i].edited.exchange(false, std::memory_order_acq_rel))
      steps.reapply(static_cast<int>(i), mLaterEdits[i].normalized.load(std::memory_order_relaxed));
  }
  return true;
}

} // namespace iplug
