#include "tests/lifecycle/LifecycleHarness.h"

#include <gtest/gtest.h>

#include <cmath>

using lifecycle_test::MeterDelivery;
using lifecycle_test::PluginHarness;

namespace
{

std::vector<int> TagsOf(const std::vector<MeterDelivery>& log)
{
  std::vector<int> tags;
  for (const auto& d : log)
  {
    EXPECT_EQ(d.recordTag, d.controlTag);
    tags.push_back(d.controlTag);
  }
  return tags;
}

std::vector<float> ValuesFor(const std::vector<MeterDelivery>& log, int tag)
{
  std::vector<float> values;
  for (const auto& d : log)
  {
    if (d.controlTag == tag)
      values.push_back(d.value);
  }
  return values;
}

} // namespace

TEST(MeterHandOff, EachIdleStepDeliversTagByTagInArrivalOrder)
{
  PluginHarness h;
  h.Plugin().OpenEditor();
  auto& log = h.Editor().Deliveries();
  for (const int blocks : {3, 1, 5})
  {
    SCOPED_TRACE(blocks);
    h.Plugin().OnReset();
    log.clear();
    // Rising input: every reading of a meter exceeds the one before it.
    h.Process(blocks, 32, 0.1, true);
    h.Plugin().OnTimer();
    std::vector<int> expected;
    for (int tag = 1; tag <= 4; ++tag)
      expected.insert(expected.end(), static_cast<size_t>(blocks), tag);
    EXPECT_EQ(TagsOf(log), expected);
    for (int tag = 1; tag <= 4; ++tag)
    {
      const auto values = ValuesFor(log, tag);
      for (size_t i = 1; i < values.size(); ++i)
        EXPECT_GT(values[i], values[i - 1]) << "tag " << tag;
    }
    // Right channels carry half the left level, so the tags went to the right meters.
    EXPECT_GT(ValuesFor(log, 1).back(), ValuesFor(log, 2).back());
    EXPECT_GT(ValuesFor(log, 3).back(), ValuesFor(log, 4).back());
    log.clear();
    h.Plugin().OnTimer();
    EXPECT_TRUE(log.empty());
  }
}

TEST(MeterHandOff, WithoutAnEditorReadingsAreDiscardedAndLeaveNoBacklog)
{
  PluginHarness h;
  h.Process(10, 64, 0.5);
  h.Plugin().OnTimer();
  h.Plugin().OpenEditor();
  h.Plugin().OnTimer();
  EXPECT_TRUE(h.Editor().Deliveries().empty());

  h.Process(1, 64, 0.5);
  h.Plugin().CloseEditor();
  h.Plugin().OnTimer();
  h.Plugin().OpenEditor();
  h.Plugin().OnTimer();
  EXPECT_TRUE(h.Editor().Deliveries().empty());
}

// 70 one-sample blocks of full scale between two idle steps: the first 64 readings of each meter
// arrive in order, the last 6 were dropped when their queue was full, and the queue takes new
// readings once drained.
TEST(MeterHandOff, ReadingsBeyondSixtyFourAreDroppedAtTheProducer)
{
  constexpr double kRate = 48000.0;
  PluginHarness h(kRate);
  h.Plugin().OpenEditor();
  auto& log = h.Editor().Deliveries();
  h.Process(70, 1, 1.0);
  h.Plugin().OnTimer();
  const double attack = std::exp(-1000.0 / kRate);
  for (int tag : {1, 3})
  {
    SCOPED_TRACE(tag);
    const auto values = ValuesFor(log, tag);
    ASSERT_EQ(values.size(), 64u);
    for (size_t i = 0; i < values.size(); ++i)
    {
      const double expected = 1.0 - std::pow(attack, static_cast<double>(i + 1));
      EXPECT_NEAR(values[i], expected, 2e-6) << "reading " << i;
    }
  }
  for (int tag : {2, 4})
    EXPECT_EQ(ValuesFor(log, tag).size(), 64u);

  log.clear();
  h.Process(1, 1, 1.0);
  h.Plugin().OnTimer();
  EXPECT_EQ(TagsOf(log), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_NEAR(ValuesFor(log, 1).front(), 1.0 - std::pow(attack, 71.0), 2e-6);
}

TEST(MeterHandOff, MessagesReachOnlyTheControlWithTheirTag)
{
  PluginHarness h;
  const float level = 0.5f;
  iplug::ISenderData<1, float> record;
  record.ctrlTag = 3;
  record.vals[0] = level;
  h.Plugin().SendControlMsgFromDelegate(3, 0, sizeof(record), &record);
  h.Plugin().OpenEditor();
  auto& log = h.Editor().Deliveries();
  for (const int tag : {0, 5, -1, lifecycle_test::kCurveTag, 3})
    h.Plugin().SendControlMsgFromDelegate(tag, 0, sizeof(record), &record);
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].controlTag, 3);
  EXPECT_EQ(log[0].value, level);
}
