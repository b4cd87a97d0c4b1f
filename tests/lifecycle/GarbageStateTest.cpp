#include "plugin/CurvePoints.h"
#include "tests/lifecycle/LifecycleHarness.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>

using iplug::IByteChunk;
using lifecycle_test::PluginHarness;

namespace
{

// Random bytes with whole doubles of the awkward kinds mixed in, either at random offsets or,
// for half the chunks, only whole doubles (random bit patterns or awkward values) so that they
// line up with the parameter slots.
IByteChunk GarbageChunk(std::mt19937& rng)
{
  constexpr double kAwkward[] = {
      std::numeric_limits<double>::quiet_NaN(),
      -std::numeric_limits<double>::quiet_NaN(),
      std::numeric_limits<double>::signaling_NaN(),
      std::numeric_limits<double>::infinity(),
      -std::numeric_limits<double>::infinity(),
      std::numeric_limits<double>::denorm_min(),
      -std::numeric_limits<double>::denorm_min(),
      std::numeric_limits<double>::min() / 3.0,
      std::numeric_limits<double>::max(),
      std::numeric_limits<double>::lowest(),
      1e300,
      -1e300,
      -0.0,
      0.5,
  };
  std::uniform_int_distribution<int> length(0, 260);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<size_t> pick(0, std::size(kAwkward) - 1);
  std::bernoulli_distribution awkward(0.4);

  IByteChunk chunk;
  const int n = length(rng);
  const bool aligned = rng() % 2 == 0;
  while (chunk.Size() < n)
  {
    if (aligned && !awkward(rng))
    {
      const auto bits = (static_cast<uint64_t>(rng()) << 32) | rng();
      const auto v = std::bit_cast<double>(bits);
      chunk.Put(&v);
    }
    else if (awkward(rng))
    {
      const double v = kAwkward[pick(rng)];
      chunk.Put(&v);
    }
    else
    {
      const auto b = static_cast<uint8_t>(byte(rng));
      chunk.PutBytes(&b, 1);
    }
  }
  return chunk;
}

void ExpectAllParamsInRange(const Velmora& plugin)
{
  for (int i = 0; i < plugin.NParams(); ++i)
  {
    const iplug::IParam* p = plugin.GetParam(i);
    const double v = p->Value();
    ASSERT_FALSE(std::isnan(v)) << "param " << i;
    ASSERT_GE(v, p->GetMin()) << "param " << i;
    ASSERT_LE(v, p->GetMax()) << "param " << i;
  }
}

void ExpectFiniteOutput(const PluginHarness& h)
{
  for (int c = 0; c < 2; ++c)
  {
    for (const double y : h.Output(c))
      ASSERT_TRUE(std::isfinite(y));
  }
}

} // namespace

TEST(GarbageState, RandomBytesNeverLeaveAParameterOutOfRange)
{
  constexpr int kSeeds = 5000;
  PluginHarness h;
  h.Plugin().OpenEditor();
  for (int seed = 0; seed < kSeeds; ++seed)
  {
    SCOPED_TRACE(seed);
    std::mt19937 rng(static_cast<uint32_t>(seed));
    const IByteChunk garbage = GarbageChunk(rng);
    std::uniform_int_distribution<int> start(-2, garbage.Size() + 2);
    const int startPos = seed % 4 == 0 ? start(rng) : 0;

    const int endPos = h.Plugin().UnserializeState(garbage, startPos);
    const bool fits = startPos >= 0 && garbage.Size() - startPos >= 96;
    ASSERT_EQ(endPos, fits ? startPos + 96 : -1);
    ExpectAllParamsInRange(h.Plugin());
    if (seed % 7 == 0)
      h.Plugin().OnRestoreState();
    if (seed % 10 == 0)
      h.Plugin().CloseEditor();
    else if (seed % 10 == 5)
      h.Plugin().OpenEditor();
    for (const double y : h.Editor().CurvePoints())
    {
      ASSERT_GE(y, velmora::kCurvePointFloor);
      ASSERT_LE(y, velmora::kCurvePointCeiling);
    }
    if (seed % 50 == 0)
    {
      h.Process(2, 256, 0.9);
      ExpectFiniteOutput(h);
      h.Plugin().OnTimer();
    }
  }

  // Back to a known state, the instance processes as a fresh one does: defaults pass the
  // signal through unchanged.
  IByteChunk defaults;
  PluginHarness fresh;
  ASSERT_TRUE(fresh.Plugin().SerializeState(defaults));
  ASSERT_EQ(h.Plugin().UnserializeState(defaults, 0), 96);
  h.SettleSwitch();
  h.Process(8, 256, 0.25);
  ExpectFiniteOutput(h);
  for (const double y : h.Output(0))
    ASSERT_DOUBLE_EQ(y, 0.25);
}
