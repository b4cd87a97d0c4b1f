// The audio thread of the built VST3 module: no heap allocation inside process calls, through a
// parameter change at a sample offset, an oversampling switch with its flush, and at both sample
// sizes.
#include "tests/support/AllocationGuard.h"
#include "tests/vst3/Vst3TestSupport.h"
#include "tools/host/vst3/VST3ParameterChanges.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace
{

using namespace Steinberg;
using namespace Steinberg::Vst;
using velmora::test::AllocationViolations;
using velmora::test::ClearAllocationViolations;
using velmora::test::ForbidAllocations;

constexpr int kBlock = 256;
constexpr int kChannels = 2;
constexpr uint32_t kGainId = 8;
constexpr uint32_t kOversamplingId = 11;

template <typename Sample> struct Buffers
{
  std::array<std::vector<Sample>, kChannels> in;
  std::array<std::vector<Sample>, kChannels> out;
  std::array<Sample*, kChannels> inPtr{};
  std::array<Sample*, kChannels> outPtr{};

  Buffers()
  {
    for (int c = 0; c < kChannels; ++c)
    {
      in[c].assign(kBlock, Sample(0.25));
      out[c].assign(kBlock, Sample(0));
      inPtr[c] = in[c].data();
      outPtr[c] = out[c].data();
    }
  }
};

template <typename Sample> void RunBlocks(bool doublePrecision)
{
  auto plugin = velmora::test::LoadEffect();
  velmora::host::ProcessSetup setup;
  setup.sampleRate = 48000.0;
  setup.maxBlockSize = kBlock;
  setup.channels = kChannels;
  setup.doublePrecision = doublePrecision;
  std::string error;
  ASSERT_TRUE(plugin->Start(setup, error)) << error;

  Buffers<Sample> buffers;
  AudioBusBuffers inputBus{};
  AudioBusBuffers outputBus{};
  inputBus.numChannels = outputBus.numChannels = kChannels;
  if constexpr (sizeof(Sample) == 8)
  {
    inputBus.channelBuffers64 = buffers.inPtr.data();
    outputBus.channelBuffers64 = buffers.outPtr.data();
  }
  else
  {
    inputBus.channelBuffers32 = buffers.inPtr.data();
    outputBus.channelBuffers32 = buffers.outPtr.data();
  }
  velmora::host::vst3::VST3ParameterChanges changes;
  ProcessContext context{};
  context.sampleRate = setup.sampleRate;
  ProcessData data;
  data.processMode = kRealtime;
  data.symbolicSampleSize = doublePrecision ? kSample64 : kSample32;
  data.numSamples = kBlock;
  data.numInputs = 1;
  data.numOutputs = 1;
  data.inputs = &inputBus;
  data.outputs = &outputBus;
  data.inputParameterChanges = &changes;
  data.processContext = &context;

  // An editor-side switch on: fade-out, path change, flush and fade-in all run in process calls.
  ASSERT_TRUE(plugin->SetParameter(kOversamplingId, 1.0));
  ClearAllocationViolations();
  for (int block = 0; block < 24; ++block)
  {
    changes.Clear();
    changes.Add(kGainId, block % kBlock, (block % 10) / 10.0);
    tresult result = kResultFalse;
    {
      ForbidAllocations guard;
      result = plugin->Processor().process(data);
    }
    ASSERT_EQ(result, kResultOk) << "block " << block;
  }
  EXPECT_EQ(AllocationViolations(), 0);

  // The switch really ran: the idle step reports the oversampled path's latency.
  plugin->Idle();
  EXPECT_GT(plugin->Latency(), 0);
  plugin->Stop();
}

} // namespace

TEST(Vst3Realtime, ProcessCallsDoNotAllocate64)
{
  RunBlocks<double>(true);
}

TEST(Vst3Realtime, ProcessCallsDoNotAllocate32)
{
  RunBlocks<float>(false);
}

// The host's own block path, as the editor command's audio thread drives it: once the first block
// has sized what it needs, blocks with host changes and with values forwarded from the main
// thread allocate nothing.
TEST(Vst3Realtime, HostBlocksDoNotAllocateOnceRunning)
{
  auto plugin = velmora::test::LoadEffect();
  ASSERT_TRUE(plugin);
  velmora::host::ProcessSetup setup;
  setup.maxBlockSize = kBlock;
  std::string error;
  ASSERT_TRUE(plugin->Start(setup, error)) << error;
  std::vector<double> left(kBlock, 0.25);
  std::vector<double> right(kBlock, -0.25);
  std::vector<double*> channels{left.data(), right.data()};
  std::vector<velmora::host::HostParamChange> changes{{kGainId, 10, 0.5}, {kGainId, 200, 0.6}};
  ASSERT_TRUE(plugin->SetParameter(kGainId, 0.4));
  ASSERT_TRUE(plugin->Process(channels, kBlock, changes));
  for (int block = 0; block < 32; ++block)
  {
    ASSERT_TRUE(plugin->SetParameter(kGainId, (block % 10) / 10.0));
    changes[0].value = (block % 7) / 7.0;
    ClearAllocationViolations();
    bool processed = false;
    {
      ForbidAllocations guard;
      processed = plugin->Process(channels, kBlock, changes);
    }
    ASSERT_TRUE(processed) << "block " << block;
    ASSERT_EQ(AllocationViolations(), 0) << "block " << block;
  }
  plugin->Stop();
}
