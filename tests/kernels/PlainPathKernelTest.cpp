#include "dsp/AttRelEnvelope.h"
#include "tests/kernels/KernelTestSupport.h"

#include <array>

namespace velmora::test
{
namespace
{

struct Layout
{
  const char* name;
  int channels;
  bool inPlace;
};

class PlainPathKernel : public testing::TestWithParam<const DspKernels*>
{
};

// The one-pass plain path gives what the curve followed by the followers gives, to the bit:
// mono and stereo, separate and in-place buffers, every combination of stages.
TEST_P(PlainPathKernel, EqualsTheCurveThenTheFollowers)
{
  const DspKernels& k = *GetParam();
  const AttRelEnvelope follower(1.0, 275.0, 48000.0);
  const std::array<double, 4> attack{follower.getAttackCoef(), 0.5, follower.getAttackCoef(), 0.9};
  const std::array<double, 4> release{follower.getReleaseCoef(), 0.99, 0.999,
                                      follower.getReleaseCoef()};
  std::mt19937_64 rng(31);
  for (const Layout layout :
       {Layout{"mono", 1, false}, Layout{"stereo", 2, false}, Layout{"stereo in place", 2, true}})
  {
    for (int trial = 0; trial < 150; ++trial)
    {
      const ShaperCoefficients c = ComputeShaperCoefficients(RandomSettings(rng));
      const int length = std::uniform_int_distribution<int>(1, 300)(rng);
      std::array<std::vector<double>, 2> in{AwkwardSignal(rng, length), AwkwardSignal(rng, length)};
      std::array<std::vector<double>, 2> out{std::vector<double>(size_t(length), 7.0),
                                             std::vector<double>(size_t(length), 7.0)};
      std::array<double, 4> startLevels{0.1, 0.0, 0.7, 1.2};

      // The reference: the curve per channel, then the followers over the buffers as they stand.
      std::array<std::vector<double>, 2> refIn = in;
      std::array<std::vector<double>, 2> refOut = out;
      std::array<double*, 2> refOutPtr{};
      for (int ch = 0; ch < layout.channels; ++ch)
      {
        const auto i = static_cast<size_t>(ch);
        refOutPtr[i] = layout.inPlace ? refIn[i].data() : refOut[i].data();
        k.shape(refIn[i].data(), refOutPtr[i], length, c, SampleGuard::ZeroNonFiniteInput);
      }
      const bool stereo = layout.channels > 1;
      const std::array<const double*, 4> sources{
          refIn[0].data(), stereo ? refIn[1].data() : refIn[0].data(), refOutPtr[0],
          stereo ? refOutPtr[1] : refOutPtr[0]};
      std::array<double, 4> wantLevels = startLevels;
      k.followLevels(sources.data(), length, attack.data(), release.data(), wantLevels.data());

      std::array<const double*, 2> inPtr{in[0].data(), in[1].data()};
      std::array<double*, 2> outPtr{layout.inPlace ? in[0].data() : out[0].data(),
                                    layout.inPlace ? in[1].data() : out[1].data()};
      k.shapeAndFollow(inPtr.data(), outPtr.data(), layout.channels, length, c, attack.data(),
                       release.data(), startLevels.data());

      const auto where = testing::Message() << layout.name << " trial " << trial;
      for (size_t m = 0; m < 4; ++m)
        ASSERT_EQ(Bits(startLevels[m]), Bits(wantLevels[m])) << where << " follower " << m;
      for (int ch = 0; ch < layout.channels; ++ch)
      {
        for (int i = 0; i < length; ++i)
        {
          ASSERT_EQ(Bits(outPtr[size_t(ch)][i]), Bits(refOutPtr[size_t(ch)][i]))
              << where << " channel " << ch << " sample " << i;
        }
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Variants, PlainPathKernel, testing::ValuesIn(SupportedDspKernels()),
                         VariantName);

} // namespace
} // namespace velmora::test
