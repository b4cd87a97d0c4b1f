#pragma once

#include "editor/ITransferCurveControl.h"

#include <atomic>
#include <mutex>
#include <span>

namespace velmora
{

// The plug-in's non-owning link to the editor's curve display.
//
// A refresh may run on the audio thread (host automation) while the main thread closes the
// editor and destroys the control. The scheme:
// - The control is only ever touched by a thread holding mLinkMutex, and only after reading the
//   link under it; Link() changes the link under the same mutex. So once Link(nullptr) has
//   returned, no refresh can reach the old control, and the main thread may destroy it.
// - A refresh never waits for mLinkMutex: it records its request in mRefreshPending and only
//   tries the mutex. If another thread holds it (a refresh, or the main thread relinking), the
//   holder picks the request up before it lets go, recomputing from the coefficients then in
//   force; a request that arrives after the link was cut is simply dropped. The only wait left
//   on the audio thread is the control's own points lock, which drawing holds only for a copy.
// - The main thread's Link() does wait for the mutex, at most for one running refresh, and so
//   may a main-thread refresh that must have handed its points over when it returns.
class CurveDisplayLink
{
public:
  using Control = iplug::igraphics::ITransferCurveControl;

  // Main thread. Links the control (nullptr cuts the link). On return no refresh is using a
  // previously linked control any more.
  void Link(Control* control);
  bool IsLinked() const { return mControl.load(std::memory_order_acquire) != nullptr; }

  // Any thread. While a control is linked: fills points with compute(points), which answers
  // false when it has nothing usable, and hands them to the control. Without a control it
  // returns at once and compute is not called. Without mayWait (which only the main thread may
  // pass) the hand-off can be left to a refresh running on another thread, which completes it
  // shortly after; with it, points computed after the call began are in the control on return
  // (unless compute had nothing usable, when the refresh that follows the next coefficient
  // update delivers them).
  template <typename Compute>
  void Refresh(std::span<double> points, Compute&& compute, bool mayWait = false)
  {
    if (!IsLinked())
      return;
    mRefreshPending.store(true, std::memory_order_release);
    while (mRefreshPending.load(std::memory_order_acquire))
    {
      std::unique_lock lock(mLinkMutex, std::defer_lock);
      if (mayWait)
        lock.lock();
      else if (!lock.try_lock())
        return;
      mayWait = false;
      while (mRefreshPending.exchange(false, std::memory_order_acq_rel))
      {
        Control* control = mControl.load(std::memory_order_relaxed);
        if (!control)
          return;
        if (compute(points))
          control->SetPoints(points);
      }
    }
  }

private:
  std::mutex mLinkMutex;
  std::atomic<Control*> mControl{nullptr};
  std::atomic<bool> mRefreshPending{false};
};

} // namespace velmora
