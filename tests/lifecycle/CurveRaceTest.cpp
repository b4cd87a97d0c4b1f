#include "plugin/CurvePoints.h"
#include "tests/lifecycle/LifecycleHarness.h"

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>

using lifecycle_test::PluginHarness;

namespace
{

// Host automation of "Gain" on its own thread, as fast as it goes, until destroyed.
class AutomationThread
{
public:
  explicit AutomationThread(Velmora& plugin)
      : mThread(
            [this, &plugin]
            {
              std::mt19937 rng(7);
              std::uniform_real_distribution<double> gain(0.0, 60.0);
              while (!mStop.load(std::memory_order_relaxed))
              {
                plugin.GetParam(kGain)->Set(gain(rng));
                plugin.OnParamChange(kGain, iplug::EParamSource::kHost, 0);
                mChanges.fetch_add(1, std::memory_order_relaxed);
              }
            })
  {
  }
  ~AutomationThread()
  {
    mStop.store(true);
    mThread.join();
  }
  AutomationThread(const AutomationThread&) = delete;
  AutomationThread& operator=(const AutomationThread&) = delete;

  int Changes() const { return mChanges.load(std::memory_order_relaxed); }

private:
  std::atomic<bool> mStop{false};
  std::atomic<int> mChanges{0};
  std::thread mThread;
};

} // namespace

// Host automation refreshes the curve on an audio thread while the main thread keeps opening
// the editor, reading the curve as drawing would, editing and closing it again. Run under
// ThreadSanitizer (and AddressSanitizer) this shows the refresh never races the control's
// destruction; here it checks that every opened editor has its curve at once and that every
// copy drawing takes is whole and in range.
TEST(CurveRace, RefreshesOnTheAudioThreadWhileTheEditorOpensAndCloses)
{
  PluginHarness h;
  Velmora& plugin = h.Plugin();
  const AutomationThread automation(plugin);

  std::mt19937 rng(11);
  std::uniform_real_distribution<double> normalized(0.0, 1.0);
  std::vector<double> drawn;
  for (int cycle = 0; cycle < 400; ++cycle)
  {
    ASSERT_NE(plugin.OpenEditor(), nullptr);
    for (int draw = 0; draw < 5; ++draw)
    {
      h.Editor().Curve()->CopyPoints(drawn);
      ASSERT_EQ(drawn.size(), 172u);
      for (const double y : drawn)
      {
        ASSERT_GE(y, velmora::kCurvePointFloor);
        ASSERT_LE(y, velmora::kCurvePointCeiling);
      }
      if (draw == 2)
        h.Edit(kModB, normalized(rng));
    }
    plugin.CloseEditor();
  }
  // Keep going until the automation has certainly overlapped some cycles.
  while (automation.Changes() < 1000)
  {
    plugin.OpenEditor();
    plugin.CloseEditor();
  }
}
