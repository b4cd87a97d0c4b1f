#pragma once

#include <atomic>
#include <functional>
#include <vector>

namespace iplug
{

// A program change that arrived with audio waits for the main thread, where a recall may capture
// or restore state. Edits that arrive with audio after it are stored at once; so that the recall
// neither captures them nor undoes them, it runs with the values they replaced, and they are
// applied again after it. Arrived and EditArrived run on the audio thread without allocating or
// locking; Apply on the main thread.
class VST3PendingRecall
{
public:
  explicit VST3PendingRecall(int nParams);

  void Arrived(int preset);
  // Call before the edit's value is stored, with the value it replaces, so that an edit racing
  // with the recall is either kept here or stored after the recall.
  void EditArrived(int paramIdx, double normalized, double replaced);

  // The program change waiting, or -1.
  int Pending() const { return mPending.load(std::memory_order_acquire); }

  struct Steps
  {
    // Stores a value without further ado.
    std::function<void(int paramIdx, double normalized)> store;
    std::function<void(int preset)> recall;
    // Applies a later edit again, as an edit.
    std::function<void(int paramIdx, double normalized)> reapply;
  };
  // Recalls the waiting program change (again for any that arrives meanwhile) with the values
  // in force when it arrived, then reapplies the edits that arrived after it. False when nothing
  // waited.
  bool Apply(const Steps& steps);

private:
  struct LaterEdit
  {
    std::atomic<bool> edited{false};
    std::atomic<double> replaced{0.0};
    std::atomic<double> normalized{0.0};
  };

  std::atomic<int> mPending{-1};
  std::vector<LaterEdit> mLaterEdits;
};

} // namespace iplug
