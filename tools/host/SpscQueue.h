#pragma once

#include <atomic>
#include <cstddef>
#include <vector>

namespace velmora::host
{

// A bounded queue between one producing and one consuming thread that neither allocates nor
// locks after construction, so either end may be the audio thread. A full queue refuses.
template <class T> class SpscQueue
{
public:
  explicit SpscQueue(size_t capacity) : mSlots(capacity + 1) {}
  SpscQueue(const SpscQueue&) = delete;
  SpscQueue& operator=(const SpscQueue&) = delete;

  bool Push(const T& item)
  {
    const size_t tail = mTail.load(std::memory_order_relaxed);
    const size_t next = Next(tail);
    if (next == mHead.load(std::memory_order_acquire))
      return false;
    mSlots[tail] = item;
    mTail.store(next, std::memory_order_release);
    return true;
  }

  bool Pop(T& item)
  {
    const size_t head = mHead.load(std::memory_order_relaxed);
    if (head == mTail.load(std::memory_order_acquire))
      return false;
    item = mSlots[head];
    mHead.store(Next(head), std::memory_order_release);
    return true;
  }

private:
  size_t Next(size_t index) const { return index + 1 == mSlots.size() ? 0 : index + 1; }

  std::vector<T> mSlots;
  std::atomic<size_t> mHead{0};
  std::atomic<size_t> mTail{0};
};

} // namespace velmora::host
