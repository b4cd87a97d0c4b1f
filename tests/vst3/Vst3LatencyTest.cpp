#include "tests/vst3/Vst3TestSupport.h"

#include "plugin/Velmora.h"

#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace velmora::test
{
namespace
{

constexpr double kRate = 48000.0;
constexpr int kBlock = 256;
constexpr uint32_t kOversamplingId = 11;

// The latency the in-process plug-in reports after a reset with the given path and mode.
int InProcessLatency(bool oversampling, bool offline)
{
  Velmora plug{iplug::InstanceInfo{}};
  plug.SetSampleRate(kRate);
  plug.SetBlockSize(kBlock);
  plug.SetRenderingOffline(offline);
  plug.RequestPathSwitch(oversampling ? 1.0 : 0.0);
  plug.OnReset();
  return plug.GetLatency();
}

class Vst3Latency : public ::testing::Test
{
protected:
  void Start(bool offline,
             host::vst3::RunLoopOffer runLoopOffer = host::vst3::RunLoopOffer::ContextAndFrame)
  {
    effect = LoadEffect("Velmora Test Host", runLoopOffer);
    ASSERT_NE(effect, nullptr);
    host::ProcessSetup setup;
    setup.sampleRate = kRate;
    setup.maxBlockSize = kBlock;
    setup.offline = offline;
    std::string error;
    ASSERT_TRUE(effect->Start(setup, error)) << error;
  }

  void ProcessSilence(int blocks) { test::ProcessSilence(*effect, blocks, kBlock); }
  int LatencyRestarts() { return test::LatencyRestarts(*effect); }
  bool AllRestartsOnMainThread() { return test::AllRestartsOnMainThread(*effect); }

  std::unique_ptr<host::vst3::VST3HostedPlugin> effect;
};

TEST_F(Vst3Latency, IdleTimerRunsEveryTwentyMillisecondsOnTheHostRunLoop)
{
  Start(false);
  ASSERT_EQ(effect->Context().TimerCount(), 1u);
  EXPECT_EQ(effect->Context().TimerInterval(0), 20u);
}

TEST_F(Vst3Latency, OversamplingThroughControllerIsReportedAtAnIdleTick)
{
  Start(false);
  const int oversampled = InProcessLatency(true, false);
  ASSERT_GT(oversampled, 0);
  EXPECT_EQ(effect->Latency(), 0);
  effect->Handler().ClearRestarts();

  ASSERT_TRUE(effect->SetParameter(kOversamplingId, 1.0));
  // The path changes on the audio thread after the fade-out; nothing reaches the host before
  // an idle tick.
  ProcessSilence(8);
  EXPECT_EQ(LatencyRestarts(), 0);
  EXPECT_EQ(effect->Latency(), 0);

  effect->Idle();
  EXPECT_EQ(LatencyRestarts(), 1);
  EXPECT_TRUE(AllRestartsOnMainThread());
  EXPECT_EQ(effect->Latency(), oversampled);

  effect->Handler().ClearRestarts();
  ASSERT_TRUE(effect->SetParameter(kOversamplingId, 0.0));
  ProcessSilence(8);
  effect->Idle();
  EXPECT_EQ(LatencyRestarts(), 1);
  EXPECT_EQ(effect->Latency(), 0);
}

TEST_F(Vst3Latency, AudioOnItsOwnThreadStillReportsOnTheMainThread)
{
  Start(false);
  const int oversampled = InProcessLatency(true, false);
  effect->Handler().ClearRestarts();
  ASSERT_TRUE(effect->SetParameter(kOversamplingId, 1.0));
  std::atomic<bool> done{false};
  std::thread audio(
      [&]
      {
        ProcessSilence(16);
        done.store(true);
      });
  while (!done.load())
    effect->Idle();
  audio.join();
  effect->Idle();
  EXPECT_EQ(LatencyRestarts(), 1);
  EXPECT_TRUE(AllRestartsOnMainThread());
  EXPECT_EQ(effect->Latency(), oversampled);
}

// Without a host run loop no idle timer runs, so the change waits for the host's next
// main-thread call into the plug-in.
TEST_F(Vst3Latency, WithoutARunLoopTheChangeReachesTheHostAtItsNextCall)
{
  Start(false, host::vst3::RunLoopOffer::None);
  EXPECT_EQ(effect->Context().TimerCount(), 0u);
  const int oversampled = InProcessLatency(true, false);
  effect->Handler().ClearRestarts();
  ASSERT_TRUE(effect->SetParameter(kOversamplingId, 1.0));
  ProcessSilence(8);
  EXPECT_EQ(LatencyRestarts(), 0);
  effect->GetParameter(0);
  EXPECT_EQ(LatencyRestarts(), 1);
  EXPECT_TRUE(AllRestartsOnMainThread());
  EXPECT_EQ(effect->Latency(), oversampled);
}

TEST_F(Vst3Latency, IdleTicksWithoutAChangeReportNothing)
{
  Start(false);
  effect->Handler().ClearRestarts();
  ProcessSilence(4);
  effect->Idle();
  effect->Idle();
  EXPECT_EQ(LatencyRestarts(), 0);
}

TEST_F(Vst3Latency, OfflineSetupReportsTheOfflineQualityLatency)
{
  Start(true);
  const int offline = InProcessLatency(false, true);
  EXPECT_GT(offline, 0);
  EXPECT_EQ(effect->Latency(), offline);
  EXPECT_GE(LatencyRestarts(), 1);
  EXPECT_TRUE(AllRestartsOnMainThread());
}

} // namespace
} // namespace velmora::test
