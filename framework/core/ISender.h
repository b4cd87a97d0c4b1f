#pragma once

#include "framework/core/IEditorDelegate.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

namespace iplug
{

// One reading for an editor control: the control's tag, how many channels the reading carries
// and from which channel it starts, then the values.
template <int MAXNUMCHANNELS = 1, typename T = float> struct ISenderData
{
  static constexpr int32_t kNoTag = -1;

  int32_t ctrlTag = kNoTag;
  int32_t nChans = MAXNUMCHANNELS;
  int32_t chanOffset = 0;
  std::array<T, MAXNUMCHANNELS> vals{};
};

// Editor controls receive the one-channel float record as raw bytes, so its layout is fixed.
static_assert(sizeof(ISenderData<1, float>) == 16);

// A single-producer, single-consumer queue of readings from the audio thread to the editor.
// The ring holds one slot more than QUEUE_SIZE so that full and empty differ; it is allocated
// once here and neither side allocates, locks or waits afterwards.
template <int MAXNUMCHANNELS = 1, int QUEUE_SIZE = 64, typename T = float> class ISender
{
public:
  using Data = ISenderData<MAXNUMCHANNELS, T>;
  static constexpr uint64_t kSlots = static_cast<uint64_t>(QUEUE_SIZE) + 1;

  ISender() : mSlots(std::make_unique<Data[]>(kSlots)) {}
  ISender(const ISender&) = delete;
  ISender& operator=(const ISender&) = delete;

  // Producer side. Returns false, keeping the queue as it was, when the ring is full.
  bool PushData(const Data& data)
  {
    const uint64_t write = mWritePos.load(std::memory_order_relaxed);
    const uint64_t next = (write + 1) % kSlots;
    if (next == mReadPos.load(std::memory_order_acquire))
      return false;
    mSlots[write] = data;
    mWritePos.store(next, std::memory_order_release);
    return true;
  }

  // Consumer side: copies the oldest reading over out and removes it; false when empty.
  bool PopData(Data& out)
  {
    const uint64_t read = mReadPos.load(std::memory_order_relaxed);
    if (read == mWritePos.load(std::memory_order_acquire))
      return false;
    out = mSlots[read];
    mReadPos.store((read + 1) % kSlots, std::memory_order_release);
    return true;
  }

  // Consumer side: delivers every queued reading, oldest first, to the control bearing its tag.
  void TransmitData(IEditorDelegate& dlg)
  {
    for (;;)
    {
      Data data;
      data.ctrlTag = Data::kNoTag;
      data.nChans = 1;
      data.chanOffset = 0;
      data.vals.fill(T{});
      if (!PopData(data))
        return;
      dlg.SendControlMsgFromDelegate(data.ctrlTag, 0, static_cast<int>(sizeof(Data)), &data);
    }
  }

private:
  std::unique_ptr<Data[]> mSlots;
  std::atomic<uint64_t> mWritePos{0};
  std::atomic<uint64_t> mReadPos{0};
};

} // namespace iplug
