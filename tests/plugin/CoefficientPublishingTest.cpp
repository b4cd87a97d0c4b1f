#include "dsp/SaturationCurve.h"
#include "plugin/Velmora.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <thread>

using velmora::ShaperCoefficients;

namespace
{

velmora::ShaperSettings SettingsOf(const Velmora& plugin)
{
  velmora::ShaperSettings s;
  s.threshold = plugin.GetParam(kThreshold)->Value();
  s.thresholdAsym = plugin.GetParam(kThresholdAsym)->Value();
  s.nonlinearity = plugin.GetParam(kNonlinearity)->Value();
  s.nonlinearityAsym = plugin.GetParam(kNonlinearityAsym)->Value();
  s.knee = plugin.GetParam(kKnee)->Value();
  s.kneeAsym = plugin.GetParam(kKneeAsym)->Value();
  s.modA = plugin.GetParam(kModA)->Value();
  s.modB = plugin.GetParam(kModB)->Value();
  s.gain = plugin.GetParam(kGain)->Value();
  s.mix = plugin.GetParam(kMix)->Value();
  s.output = plugin.GetParam(kOutput)->Value();
  return s;
}

bool SameRecord(const ShaperCoefficients& a, const ShaperCoefficients& b)
{
  return std::memcmp(&a, &b, sizeof(a)) == 0;
}

ShaperCoefficients Read(const Velmora& plugin)
{
  ShaperCoefficients c;
  EXPECT_TRUE(plugin.TryReadCoefficients(c));
  return c;
}

// Fields derived from one parameter must agree with each other; a copy mixing two records
// breaks at least one of these relations.
bool SelfConsistent(const ShaperCoefficients& c)
{
  return std::fabs(c.polyAmount + c.polyDry - 1.0) < 1e-12 &&
         std::fabs(c.sineAmount + c.sineDry - 1.0) < 1e-12 &&
         std::fabs(c.dryGain + c.wetGain - 1.0) < 1e-12 && c.upperThreshold == -c.lowerThreshold &&
         std::fabs(c.upperKneeEnd / c.upperThreshold - std::exp(0.1 * 0.11512925464970228)) < 1e-12;
}

} // namespace

TEST(CoefficientPublishing, RecordFollowsTheParameters)
{
  Velmora plugin{iplug::InstanceInfo{}};
  EXPECT_TRUE(SameRecord(Read(plugin), velmora::ComputeShaperCoefficients({})));

  plugin.GetParam(kGain)->Set(12.0);
  plugin.OnParamChange(kGain, iplug::EParamSource::kHost, 0);
  plugin.GetParam(kMix)->Set(80.0);
  plugin.OnParamChange(kMix, iplug::EParamSource::kUI, -1);
  EXPECT_TRUE(SameRecord(Read(plugin), velmora::ComputeShaperCoefficients(SettingsOf(plugin))));
  EXPECT_NEAR(Read(plugin).drive, std::exp(12.0 * 0.1151292546497), 1e-15);
}

TEST(CoefficientPublishing, OversamplingChangesLeaveTheRecordAlone)
{
  Velmora plugin{iplug::InstanceInfo{}};
  const ShaperCoefficients before = Read(plugin);
  plugin.GetParam(kGain)->Set(20.0); // changed but not announced
  plugin.GetParam(kOversampling)->Set(1.0);
  plugin.OnParamChange(kOversampling, iplug::EParamSource::kHost, 0);
  EXPECT_TRUE(SameRecord(Read(plugin), before));
}

TEST(CoefficientPublishing, NonFiniteAndHugeValuesNeverBreakTheInvariants)
{
  Velmora plugin{iplug::InstanceInfo{}};
  const double garbage[] = {std::numeric_limits<double>::quiet_NaN(),
                            -std::numeric_limits<double>::quiet_NaN(),
                            std::numeric_limits<double>::infinity(),
                            -std::numeric_limits<double>::infinity(),
                            1e308,
                            -1e308,
                            std::numeric_limits<double>::denorm_min(),
                            0.0};
  std::mt19937 rng(7);
  for (int round = 0; round < 2000; ++round)
  {
    const int idx = static_cast<int>(rng() % kOversampling);
    const double value = garbage[rng() % std::size(garbage)];
    if (rng() % 2)
      plugin.GetParam(idx)->Set(value);
    else
      plugin.GetParam(idx)->SetNormalized(value);
    plugin.OnParamChange(idx, iplug::EParamSource::kHost, 0);

    const iplug::IParam* p = plugin.GetParam(idx);
    ASSERT_GE(p->Value(), p->GetMin());
    ASSERT_LE(p->Value(), p->GetMax());
    const ShaperCoefficients c = Read(plugin);
    ASSERT_GT(c.upperThreshold, 0.0);
    ASSERT_LT(c.lowerThreshold, 0.0);
    ASSERT_GT(c.upperKneeEnd, c.upperThreshold);
    ASSERT_LT(c.lowerKneeEnd, c.lowerThreshold);
    ASSERT_GE(c.upperRatio, 1.0);
    ASSERT_GE(c.lowerRatio, 1.0);
    ASSERT_NEAR(c.dryGain + c.wetGain, 1.0, 1e-15);
    ASSERT_TRUE(std::isfinite(c.drive) && std::isfinite(c.outputGain));
  }
}

// Two writers (an automation thread and an editor thread) update back to back while a reader
// copies the record in force, as a block start does: every copy must be one whole record, and
// after the writers stop the record must reflect the last parameter values.
TEST(CoefficientPublishing, ConcurrentWritersNeverHandOutATornRecord)
{
  Velmora plugin{iplug::InstanceInfo{}};
  std::atomic<bool> stop{false};
  std::atomic<int> writersDone{0};

  auto writer = [&](unsigned seed)
  {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int i = 0; i < 20000; ++i)
    {
      for (int idx : {kThreshold, kModA, kModB, kMix, kGain})
        plugin.GetParam(idx)->SetNormalized(unit(rng));
      plugin.UpdateCoefficients();
    }
    writersDone.fetch_add(1);
  };

  long reads = 0;
  long torn = 0;
  std::thread reader(
      [&]
      {
        ShaperCoefficients c;
        while (!stop.load())
        {
          if (plugin.TryReadCoefficients(c))
          {
            ++reads;
            if (!SelfConsistent(c))
              ++torn;
          }
        }
      });
  std::thread a(writer, 1u);
  std::thread b(writer, 2u);
  a.join();
  b.join();
  stop.store(true);
  reader.join();

  EXPECT_EQ(writersDone.load(), 2);
  EXPECT_GT(reads, 0);
  EXPECT_EQ(torn, 0);
  EXPECT_TRUE(SameRecord(Read(plugin), velmora::ComputeShaperCoefficients(SettingsOf(plugin))));
}
