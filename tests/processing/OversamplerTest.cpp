#include "dsp/Oversampler.h"
#include "dsp/SaturationCurve.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{

constexpr double kPi = 3.141592653589793;

struct Tone
{
  double amplitude;
  double phase;
};

// Least-squares fit of a sinusoid of known frequency to samples [from, to).
Tone FitTone(const std::vector<double>& x, double frequency, double rate, size_t from, size_t to)
{
  double ss = 0, sc = 0, cc = 0, xs = 0, xc = 0;
  for (size_t i = from; i < to; ++i)
  {
    const double w = 2.0 * kPi * frequency * static_cast<double>(i) / rate;
    const double s = std::sin(w);
    const double c = std::cos(w);
    ss += s * s;
    sc += s * c;
    cc += c * c;
    xs += x[i] * s;
    xc += x[i] * c;
  }
  const double det = ss * cc - sc * sc;
  const double a = (xs * cc - xc * sc) / det; // sine weight
  const double b = (xc * ss - xs * sc) / det; // cosine weight
  return {std::hypot(a, b), std::atan2(b, a)};
}

// Runs a sine through one channel of the engine with the curve at its defaults (a straight line),
// so the output is the resampler round trip alone.
std::vector<double> RoundTrip(velmora::Oversampler& engine, double frequency, double rate,
                              int length, int block)
{
  const auto defaults = velmora::ComputeShaperCoefficients({});
  std::vector<double> in(static_cast<size_t>(length));
  for (size_t i = 0; i < in.size(); ++i)
    in[i] = 0.5 * std::sin(2.0 * kPi * frequency * static_cast<double>(i) / rate);
  std::vector<double> out(in.size());
  for (int start = 0; start < length; start += block)
    engine.ProcessChannel(0, in.data() + start, out.data() + start, block, defaults);
  return out;
}

struct PassbandCase
{
  double rate;
  bool offline;
};

class OversamplerPassband : public ::testing::TestWithParam<PassbandCase>
{
};

TEST_P(OversamplerPassband, FlatWithinFiveHundredthsOfADecibelUpToNineTenthsOfNyquist)
{
  const double rate = GetParam().rate;
  for (const double fraction : {0.001, 0.01, 0.1, 0.3, 0.5, 0.7, 0.8, 0.85, 0.9})
  {
    velmora::Oversampler engine(rate, 1024, GetParam().offline);
    const double frequency = fraction * rate / 2.0;
    const auto out = RoundTrip(engine, frequency, rate, 1 << 15, 1024);
    const Tone tone = FitTone(out, frequency, rate, 8192, out.size());
    const double db = 20.0 * std::log10(tone.amplitude / 0.5);
    EXPECT_LE(std::fabs(db), 0.05) << frequency << " Hz: " << db << " dB";
  }
}

INSTANTIATE_TEST_SUITE_P(Rates, OversamplerPassband,
                         ::testing::Values(PassbandCase{44100.0, false},
                                           PassbandCase{48000.0, false},
                                           PassbandCase{96000.0, false},
                                           PassbandCase{48000.0, true}));

class OversamplerLatency : public ::testing::TestWithParam<PassbandCase>
{
};

TEST_P(OversamplerLatency, LowSineComesOutDelayedByTheReportedLatency)
{
  const double rate = GetParam().rate;
  velmora::Oversampler engine(rate, 1024, GetParam().offline);
  const int latency = engine.GetLatency();
  ASSERT_GT(latency, 0);

  const auto out = RoundTrip(engine, 100.0, rate, 1 << 15, 256);
  const Tone tone = FitTone(out, 100.0, rate, 8192, out.size());
  // Group delay at 100 Hz from the phase lag, in samples.
  const double delay = -tone.phase / (2.0 * kPi * 100.0) * rate;
  EXPECT_LE(std::fabs(delay - latency), 0.5) << "delay " << delay << " latency " << latency;

  // Of all whole-sample shifts, the reported one lines the output up best with the input.
  const auto errorAt = [&out, rate](int shift)
  {
    double worst = 0.0;
    for (size_t i = 8192; i < out.size(); ++i)
    {
      const double expected =
          0.5 * std::sin(2.0 * kPi * 100.0 * (static_cast<double>(i) - shift) / rate);
      worst = std::max(worst, std::fabs(out[i] - expected));
    }
    return worst;
  };
  EXPECT_LT(errorAt(latency), errorAt(latency - 1));
  EXPECT_LT(errorAt(latency), errorAt(latency + 1));
}

INSTANTIATE_TEST_SUITE_P(Rates, OversamplerLatency,
                         ::testing::Values(PassbandCase{44100.0, false},
                                           PassbandCase{48000.0, false},
                                           PassbandCase{48000.0, true}));

TEST(Oversampler, QualityFollowsTheRenderMode)
{
  EXPECT_EQ(velmora::Oversampler(48000.0, 1024, false).GetQuality(), 2);
  EXPECT_EQ(velmora::Oversampler(48000.0, 1024, true).GetQuality(), 3);
  EXPECT_EQ(velmora::Oversampler(48000.0, 1024, true).GetFactor(), 4);
}

TEST(Oversampler, BlockLongerThanItsMaximumIsSilent)
{
  velmora::Oversampler engine(48000.0, 1024, false);
  std::vector<double> in(2048, 0.5), out(2048, 1.0);
  engine.ProcessChannel(0, in.data(), out.data(), 2048, velmora::ComputeShaperCoefficients({}));
  for (const double s : out)
    ASSERT_EQ(s, 0.0);
}

TEST(Oversampler, UnusableRatesLeaveItUnavailableWithoutLatency)
{
  for (const double rate : {0.0, -48000.0, std::nan("")})
  {
    velmora::Oversampler engine(rate, 1024, false);
    EXPECT_FALSE(engine.IsAvailable());
    EXPECT_EQ(engine.GetLatency(), 0);
  }
}

} // namespace
