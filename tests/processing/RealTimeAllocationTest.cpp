#include "tests/processing/ProcessingHost.h"
#include "tests/support/AllocationGuard.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace
{

using velmora::test::ForbidAllocations;

constexpr double kRate = 48000.0;

// Runs blocks straight into the plug-in with buffers made beforehand, so that any allocation
// counted while they run is the plug-in's own; once for every kernel variant the processor runs.
class RealTimeTest : public ::testing::TestWithParam<const velmora::DspKernels*>
{
protected:
  void SetUp() override
  {
    plugin.UseDspKernels(*GetParam());
    plugin.SetChannelConnections(2, 2);
    for (int c = 0; c < 2; ++c)
    {
      inputs[static_cast<size_t>(c)].resize(4096);
      outputs[static_cast<size_t>(c)].resize(4096);
      for (size_t i = 0; i < 4096; ++i)
        inputs[static_cast<size_t>(c)][i] = 0.8 * std::sin(0.03 * static_cast<double>(i));
      inPtrs[static_cast<size_t>(c)] = inputs[static_cast<size_t>(c)].data();
      outPtrs[static_cast<size_t>(c)] = outputs[static_cast<size_t>(c)].data();
    }
    plugin.GetParam(kModA)->Set(50.0);
    plugin.GetParam(kModB)->Set(50.0);
    plugin.GetParam(kThreshold)->Set(-12.0);
    plugin.UpdateCoefficients();
    velmora::test::ClearAllocationViolations();
  }

  void Reset(int blockSize)
  {
    plugin.SetSampleRate(kRate);
    plugin.SetBlockSize(blockSize);
    plugin.OnReset();
  }

  void RunBlocks(int count, int nFrames)
  {
    const ForbidAllocations forbid;
    for (int block = 0; block < count; ++block)
      plugin.ProcessBlock(inPtrs.data(), outPtrs.data(), nFrames);
  }

  Velmora plugin{iplug::InstanceInfo{}};
  std::array<std::vector<double>, 2> inputs;
  std::array<std::vector<double>, 2> outputs;
  std::array<double*, 2> inPtrs{};
  std::array<double*, 2> outPtrs{};
};

TEST_P(RealTimeTest, GuardCountsAnAllocation)
{
  {
    const ForbidAllocations forbid;
    // Called as functions, not through new-expressions, so the compiler cannot leave them out.
    void* p = ::operator new(16);
    ::operator delete(p);
  }
  EXPECT_EQ(velmora::test::AllocationViolations(), 2);
}

TEST_P(RealTimeTest, NoAllocationOnEitherPathThroughSwitchesAndFlushes)
{
  Reset(256);
  RunBlocks(20, 256);      // plain path, no editor
  plugin.StartMeterFeed(); // an editor opens: the audio thread restarts the followers
  RunBlocks(20, 256);
  plugin.RequestPathSwitch(1.0);
  RunBlocks(2, 64); // fade-out
  ASSERT_TRUE(plugin.IsPathSwitchActive());
  RunBlocks(4, 64); // fade-out ends, flush begins
  ASSERT_TRUE(plugin.IsFlushPending());
  RunBlocks(40, 64); // flush, fade-in, oversampled path
  ASSERT_TRUE(plugin.IsOversamplingOn());
  ASSERT_FALSE(plugin.IsPathSwitchActive());
  plugin.RequestPathSwitch(0.0);
  RunBlocks(1, 100);
  plugin.RequestPathSwitch(1.0); // during the fade-out: back to the oversampled path
  RunBlocks(40, 256);
  plugin.StopMeterFeed();
  RunBlocks(5, 256);
  plugin.StartMeterFeed(); // restarts the followers and the input delay
  RunBlocks(5, 256);
  RunBlocks(2, 4096); // longer than the engine block: silent
  RunBlocks(3, 0);
  EXPECT_EQ(velmora::test::AllocationViolations(), 0);

  Reset(1024); // the oversampled path in use from the first block
  ASSERT_TRUE(plugin.IsOversamplingOn());
  RunBlocks(10, 1024);
  EXPECT_EQ(velmora::test::AllocationViolations(), 0);
}

INSTANTIATE_TEST_SUITE_P(Variants, RealTimeTest, testing::ValuesIn(velmora::SupportedDspKernels()),
                         [](const auto& info) { return std::string(info.param->name); });

} // namespace
