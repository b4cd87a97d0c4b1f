#include "plugin/CurvePoints.h"
#include "tests/lifecycle/LifecycleHarness.h"

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>

using lifecycle_test::PluginHarness;

// Host automation refreshes the curve on an audio thread while the main thread keeps opening
// the editor, reading the curve as drawing would, editing and closing it again. Run under
// ThreadSanitizer (and AddressSanitizer) this shows the refresh never races the control's
// destruction; here it checks every copy the main thread sees is whole and in range.
TEST(CurveRace, RefreshesOnTheAudioThreadWhileTheEditorOpensAndCloses)
{
  PluginHarness h;
  Velmora& plugin = h.Plugin();
  std::atomic<bool> stop{false};
  std::atomic<int> refreshes{0};

  std::thread audio(
      [&]
      {
        std::mt19937 rng(7);
        std::uniform_real_distribution<double> gain(0.0, 60.0);
        while (!stop.load(std::memory_order_relaxed))
        {
          plugin.GetParam(kGain)->Set(gain(rng));
          plugin.OnParamChange(kGain, iplug::EParamSource::kHost, 0);
          refreshes.fetch_add(1, std::memory_order_relaxed);
        }
      });

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
  // Keep going until the audio thread has certainly overlapped a few cycles.
  while (refreshes.load(std::memory_order_relaxed) < 1000)
  {
    plugin.OpenEditor();
    plugin.CloseEditor();
  }
  stop.store(true);
  audio.join();
}
