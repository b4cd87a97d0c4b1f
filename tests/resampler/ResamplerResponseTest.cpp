#include "tests/resampler/ResamplerTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace velmora::test
{
namespace
{

constexpr double kRate = 48000.0;
constexpr int kBlock = 512;
constexpr int kHostSamples = 8192;
// How far the measured rejection may fall short of the asked attenuation.
constexpr double kAttenuationToleranceDb = 1.0;
constexpr double kPassbandRippleDb = 0.001;

class ResamplerResponse : public testing::TestWithParam<Quality>
{
protected:
  double PassbandEdge() const { return (1.0 - GetParam().transBandPercent / 100.0) * 0.5; }
};

// Sines across the whole host band go up: whatever is not the sine itself (images above half
// the host rate) stays below the attenuation, and the pass band keeps unity gain.
TEST_P(ResamplerResponse, UpsamplerRejectsImagesAndKeepsPassbandFlat)
{
  auto up = MakeUp(kRate, kBlock, GetParam());
  constexpr int kSteps = 48;
  double worstImageDb = -400.0;
  double worstRippleDb = 0.0;
  for (int k = 0; k < kSteps; ++k)
  {
    const double cycles = 0.5 * (k + 0.5) / kSteps; // at the host rate
    up->clear();
    const auto out = RunThrough(*up, Sine(kHostSamples, cycles), kBlock);
    ASSERT_EQ(out.size(), 4u * kHostSamples);
    const SineFit fit = FitSine(out, 4096, cycles / 4.0);
    worstImageDb = std::max(worstImageDb, ToDb(fit.residualRms * std::sqrt(2.0)));
    if (cycles <= PassbandEdge())
      worstRippleDb = std::max(worstRippleDb, std::fabs(ToDb(fit.amplitude)));
  }
  RecordProperty("worst_image_db", std::to_string(worstImageDb));
  RecordProperty("worst_ripple_db", std::to_string(worstRippleDb));
  EXPECT_LE(worstImageDb, -GetParam().attenuationDb + kAttenuationToleranceDb);
  EXPECT_LE(worstRippleDb, kPassbandRippleDb);
}

// Sines from half the host rate to the top of the 4x band come down: all of them alias into the
// host band, so the whole output must stay below the attenuation.
TEST_P(ResamplerResponse, DownsamplerRejectsEverythingAboveHalfTheHostRate)
{
  auto down = MakeDown(kRate, 4 * kBlock, GetParam());
  constexpr int kSteps = 64;
  double worstAliasDb = -400.0;
  for (int k = 0; k < kSteps; ++k)
  {
    const double hostCycles = 0.5 + 1.5 * (k + 0.5) / kSteps;
    down->clear();
    const auto out = RunThrough(*down, Sine(4 * kHostSamples, hostCycles / 4.0), 4 * kBlock);
    ASSERT_EQ(out.size(), static_cast<std::size_t>(kHostSamples));
    worstAliasDb = std::max(worstAliasDb, ToDb(Rms(out, 1024) * std::sqrt(2.0)));
  }
  RecordProperty("worst_alias_db", std::to_string(worstAliasDb));
  EXPECT_LE(worstAliasDb, -GetParam().attenuationDb + kAttenuationToleranceDb);
}

TEST_P(ResamplerResponse, DownsamplerKeepsPassbandFlat)
{
  auto down = MakeDown(kRate, 4 * kBlock, GetParam());
  constexpr int kSteps = 32;
  double worstRippleDb = 0.0;
  double worstResidualDb = -400.0;
  for (int k = 0; k <= kSteps; ++k)
  {
    const double hostCycles = 1e-3 + (PassbandEdge() - 1e-3) * k / kSteps;
    down->clear();
    const auto out = RunThrough(*down, Sine(4 * kHostSamples, hostCycles / 4.0), 4 * kBlock);
    const SineFit fit = FitSine(out, 1024, hostCycles);
    worstRippleDb = std::max(worstRippleDb, std::fabs(ToDb(fit.amplitude)));
    worstResidualDb = std::max(worstResidualDb, ToDb(fit.residualRms * std::sqrt(2.0)));
  }
  RecordProperty("worst_ripple_db", std::to_string(worstRippleDb));
  RecordProperty("worst_residual_db", std::to_string(worstResidualDb));
  EXPECT_LE(worstRippleDb, kPassbandRippleDb);
  EXPECT_LE(worstResidualDb, -GetParam().attenuationDb + kAttenuationToleranceDb);
}

INSTANTIATE_TEST_SUITE_P(Qualities, ResamplerResponse, testing::Values(kRealtime, kOffline),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace velmora::test
