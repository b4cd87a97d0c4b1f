#include "tests/resampler/ResamplerTestSupport.h"
#include "tests/support/AllocationGuard.h"

#include <gtest/gtest.h>

#include <vector>

namespace velmora::test
{
namespace
{

TEST(ResamplerAllocation, ProcessAndClearNeverAllocate)
{
  constexpr int kMaxIn = 1024;
  for (const Quality& q : {kRealtime, kOffline})
  {
    auto up = MakeUp(48000.0, kMaxIn, q);
    auto down = MakeDown(48000.0, 4 * kMaxIn, q);
    const auto signal = Sine(kMaxIn, 0.01);
    double* upOut = nullptr;
    double* downOut = nullptr;
    int produced = 0;

    ClearAllocationViolations();
    {
      ForbidAllocations guard;
      for (const int length : {kMaxIn, 1, 7, 256, kMaxIn, 0, kMaxIn + 1})
      {
        const int upCount = up->process(signal.data(), length, upOut);
        produced += upCount;
        produced += down->process(upOut, upCount > 0 ? upCount - 1 : 0, downOut);
      }
      up->clear();
      down->clear();
    }

    EXPECT_EQ(AllocationViolations(), 0) << q.name;
    EXPECT_GT(produced, 0);
  }
}

} // namespace
} // namespace velmora::test
