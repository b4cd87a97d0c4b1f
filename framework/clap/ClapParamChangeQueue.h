#pragma once

#include <array>
#include <atomic>
#include <cstddef>

namespace iplug
{

// Parameter indices changed on the processing side, waiting for the main thread. One producer
// (the thread delivering host events) and one consumer (the idle tick); never allocates. When
// the ring is full the change is remembered as an overflow, after which the consumer treats
// every parameter as changed, so no change is ever lost.
class ClapParamChangeQueue
{
public:
  static constexpr size_t kCapacity = 512;

  void Push(int paramIdx)
  {
    const size_t write = mWrite.load(std::memory_order_relaxed);
    const size_t next = (write + 1) % kSlots;
    if (next == mRead.load(std::memory_order_acquire))
    {
      mOverflowed.store(true, std::memory_order_release);
      return;
    }
    mSlots[write] = paramIdx;
    mWrite.store(next, std::memory_order_release);
  }

  bool Pop(int& paramIdx)
  {
    const size_t read = mRead.load(std::memory_order_relaxed);
    if (read == mWrite.load(std::memory_order_acquire))
      return false;
    paramIdx = mSlots[read];
    mRead.store((read + 1) % kSlots, std::memory_order_release);
    return true;
  }

  // True once after changes were dropped for want of room.
  bool TakeOverflow() { return mOverflowed.exchange(false, std::memory_order_acq_rel); }

private:
  // One slot stays free so that a full ring can be told from an empty one.
  static constexpr size_t kSlots = kCapacity + 1;

  std::array<int, kSlots> mSlots{};
  std::atomic<size_t> mWrite{0};
  std::atomic<size_t> mRead{0};
  std::atomic<bool> mOverflowed{false};
};

} // namespace iplug
