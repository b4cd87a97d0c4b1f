#pragma once

#include <atomic>
#include <thread>

namespace velmora::host
{

// Keeps the audio thread out of the plug-in while the main thread reconfigures it (activation,
// restart, deactivation). The audio thread never waits: a closed gate makes it skip the block.
// The main thread waits only for a process call already under way to finish.
class ProcessGate
{
public:
  // Audio thread: admitted for one process call while it lives, when the gate is open.
  class Pass
  {
  public:
    explicit Pass(ProcessGate& gate) : mGate(gate)
    {
      mGate.mInside.store(true);
      mAdmitted = !mGate.mClosed.load();
      if (!mAdmitted)
        mGate.mInside.store(false);
    }
    ~Pass()
    {
      if (mAdmitted)
        mGate.mInside.store(false);
    }
    Pass(const Pass&) = delete;
    Pass& operator=(const Pass&) = delete;

    bool Admitted() const { return mAdmitted; }

  private:
    ProcessGate& mGate;
    bool mAdmitted = false;
  };

  // Main thread: holds the gate closed while it lives; holds may nest.
  class Hold
  {
  public:
    explicit Hold(ProcessGate& gate) : mGate(gate)
    {
      if (mGate.mHolds++ == 0)
      {
        mGate.mClosed.store(true);
        while (mGate.mInside.load())
          std::this_thread::yield();
      }
    }
    ~Hold()
    {
      if (--mGate.mHolds == 0)
        mGate.mClosed.store(false);
    }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

  private:
    ProcessGate& mGate;
  };

private:
  // Sequentially consistent on both sides: either the audio thread sees the gate closed, or the
  // main thread sees it inside and waits.
  std::atomic<bool> mInside{false};
  std::atomic<bool> mClosed{false};
  int mHolds = 0; // main thread only
};

} // namespace velmora::host
