#include "tests/resampler/ResamplerTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace velmora::test
{
namespace
{

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct Arguments
{
  const char* name;
  double srcRate;
  double dstRate;
  int maxInLen;
  double band;
  double atten;
  EPhaseResponse phase;
};

void PrintTo(const Arguments& a, std::ostream* os)
{
  *os << a.name;
}

class ResamplerRefusedArguments : public testing::TestWithParam<Arguments>
{
};

TEST_P(ResamplerRefusedArguments, GiveAnInertObject)
{
  const Arguments& a = GetParam();
  CDSPResampler r(a.srcRate, a.dstRate, a.maxInLen, a.band, a.atten, a.phase);
  EXPECT_FALSE(r.IsValid());
  std::vector<double> input(64, 1.0);
  double* output = input.data();
  EXPECT_EQ(r.process(input.data(), 64, output), 0);
  EXPECT_EQ(output, nullptr);
  r.clear();
  EXPECT_EQ(r.getInLenBeforeOutPos(0), 0);
  EXPECT_EQ(r.getLatencyFrac(), 0.0);
  EXPECT_EQ(r.getMaxOutLen(), 0);
}

constexpr auto kMin = EPhaseResponse::Minimum;

INSTANTIATE_TEST_SUITE_P(
    Table, ResamplerRefusedArguments,
    testing::Values(
        Arguments{"ratio_two", 48000, 96000, 256, 10, 120, kMin},
        Arguments{"ratio_half", 96000, 48000, 256, 10, 120, kMin},
        Arguments{"ratio_one", 48000, 48000, 256, 10, 120, kMin},
        Arguments{"ratio_almost_four", 48000, 191999, 256, 10, 120, kMin},
        Arguments{"zero_source", 0, 192000, 256, 10, 120, kMin},
        Arguments{"negative_rates", -48000, -192000, 256, 10, 120, kMin},
        Arguments{"nan_source", kNaN, 192000, 256, 10, 120, kMin},
        Arguments{"infinite_rates", kInf, kInf, 256, 10, 120, kMin},
        Arguments{"zero_length", 48000, 192000, 0, 10, 120, kMin},
        Arguments{"negative_length", 48000, 192000, -1, 10, 120, kMin},
        Arguments{"huge_length", 48000, 192000, CDSPResampler::kMaxInLen + 1, 10, 120, kMin},
        Arguments{"nan_band", 48000, 192000, 256, kNaN, 120, kMin},
        Arguments{"zero_band", 48000, 192000, 256, 0, 120, kMin},
        Arguments{"whole_band", 48000, 192000, 256, 100, 120, kMin},
        Arguments{"nan_attenuation", 192000, 48000, 256, 10, kNaN, kMin},
        Arguments{"tiny_attenuation", 192000, 48000, 256, 10, 3, kMin},
        Arguments{"absurd_attenuation", 192000, 48000, 256, 10, 1e6, kMin},
        Arguments{"unknown_phase", 48000, 192000, 256, 10, 120, static_cast<EPhaseResponse>(7)}),
    [](const auto& info) { return std::string(info.param.name); });

class ResamplerAcceptedLimits : public testing::TestWithParam<Arguments>
{
};

// The extremes of the accepted ranges still give a working pair whose round-trip delay is whole.
TEST_P(ResamplerAcceptedLimits, GiveAWorkingPair)
{
  const Arguments& a = GetParam();
  CDSPResampler up(a.srcRate, a.dstRate, a.maxInLen, a.band, a.atten, a.phase);
  CDSPResampler down(a.dstRate, a.srcRate, 4 * a.maxInLen, a.band, a.atten, a.phase);
  ASSERT_TRUE(up.IsValid());
  ASSERT_TRUE(down.IsValid());
  const double sum = DelayOf(up) + DelayOf(down) / 4.0;
  EXPECT_NEAR(sum, std::round(sum), 1e-9);

  const auto signal = Sine(a.maxInLen, 0.01);
  double* upOut = nullptr;
  ASSERT_EQ(up.process(signal.data(), a.maxInLen, upOut), 4 * a.maxInLen);
  double* downOut = nullptr;
  EXPECT_EQ(down.process(upOut, 4 * a.maxInLen, downOut), a.maxInLen);
}

constexpr auto kLin = EPhaseResponse::Linear;

INSTANTIATE_TEST_SUITE_P(
    Table, ResamplerAcceptedLimits,
    testing::Values(Arguments{"narrowest_band_least_attenuation", 44100, 176400, 1, 0.5, 40, kMin},
                    Arguments{"widest_band_most_attenuation", 96000, 384000, 64, 45, 200, kMin},
                    Arguments{"widest_band_least_attenuation", 8000, 32000, 300, 45, 40, kLin},
                    Arguments{"odd_rate", 22050.5, 88202, 17, 10, 120, kMin}),
    [](const auto& info) { return std::string(info.param.name); });

// Refused calls on a working resampler produce nothing and leave its history alone: the next
// proper block comes out as from an untouched twin.
TEST(ResamplerRefusedCalls, ProduceNothingAndLeaveHistoryAlone)
{
  constexpr int kMaxIn = 128;
  for (const bool upward : {true, false})
  {
    auto r = upward ? MakeUp(48000.0, kMaxIn, kRealtime) : MakeDown(48000.0, kMaxIn, kRealtime);
    auto twin = upward ? MakeUp(48000.0, kMaxIn, kRealtime) : MakeDown(48000.0, kMaxIn, kRealtime);
    const auto signal = Sine(kMaxIn + 1, 0.01);
    double* output = nullptr;
    for (const int length : {0, -1, -1000, kMaxIn + 1})
      EXPECT_EQ(r->process(signal.data(), length, output), 0) << length;
    EXPECT_EQ(r->process(nullptr, 16, output), 0);

    double* expected = nullptr;
    const int expectedCount = twin->process(signal.data(), kMaxIn, expected);
    const int count = r->process(signal.data(), kMaxIn, output);
    ASSERT_EQ(count, expectedCount);
    for (int n = 0; n < count; ++n)
      ASSERT_EQ(output[n], expected[n]) << "sample " << n;
  }
}

} // namespace
} // namespace velmora::test
