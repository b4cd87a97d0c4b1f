#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace iplug
{

// Edits made in the editor (main thread) on their way to the host, which takes them as output
// events of the next process or parameter flush. One producer, one consumer at a time (the
// host never runs process and flush together); never allocates. A full ring drops the newest
// value of a gesture but never its begin or end, which keep room of their own.
class ClapUIEditQueue
{
public:
  enum class Kind : uint8_t
  {
    GestureBegin,
    Value,
    GestureEnd
  };

  struct Edit
  {
    Kind kind = Kind::Value;
    uint32_t paramIdx = 0;
    double value = 0.0;
  };

  static constexpr size_t kCapacity = 256;
  // Slots that only gesture begins and ends may fill, so a flood of values cannot strand a
  // gesture open at the host.
  static constexpr size_t kGestureReserve = 16;

  bool Push(const Edit& edit)
  {
    const size_t write = mWrite.load(std::memory_order_relaxed);
    const size_t read = mRead.load(std::memory_order_acquire);
    const size_t used = (write + kSlots - read) % kSlots;
    const size_t limit = edit.kind == Kind::Value ? kCapacity - kGestureReserve : kCapacity;
    if (used >= limit)
      return false;
    mSlots[write] = edit;
    mWrite.store((write + 1) % kSlots, std::memory_order_release);
    return true;
  }

  bool Pop(Edit& edit)
  {
    const size_t read = mRead.load(std::memory_order_relaxed);
    if (read == mWrite.load(std::memory_order_acquire))
      return false;
    edit = mSlots[read];
    mRead.store((read + 1) % kSlots, std::memory_order_release);
    return true;
  }

  bool Empty() const
  {
    return mRead.load(std::memory_order_acquire) == mWrite.load(std::memory_order_acquire);
  }

private:
  static constexpr size_t kSlots = kCapacity + 1;

  std::array<Edit, kSlots> mSlots{};
  std::atomic<size_t> mWrite{0};
  std::atomic<size_t> mRead{0};
};

} // namespace iplug
