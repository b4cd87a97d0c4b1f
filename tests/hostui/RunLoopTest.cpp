// The host's real-time run loop as plug-ins reach it: VST3's Linux::IRunLoop on the host context
// and CLAP's "clap.timer-support" and "clap.posix-fd-support".
#include "tests/hostui/HostUiTestSupport.h"
#include "tools/host/clap/ClapHost.h"
#include "tools/host/vst3/VST3HostContext.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace velmora::test
{
namespace
{

using namespace Steinberg;
using namespace clapabi;
using namespace std::chrono_literals;
using host::ClapHost;
using host::vst3::VST3HostContext;

// Counts calls; reference counting is inert, as the test outlives every registration.
class TimerCounter final : public Linux::ITimerHandler
{
public:
  tresult PLUGIN_API queryInterface(const TUID, void** obj) override
  {
    *obj = nullptr;
    return kNoInterface;
  }
  uint32 PLUGIN_API addRef() override { return 1; }
  uint32 PLUGIN_API release() override { return 1; }
  void PLUGIN_API onTimer() override { ++fired; }

  int fired = 0;
};

// Reads what the descriptor holds on each call.
class FdReader final : public Linux::IEventHandler
{
public:
  tresult PLUGIN_API queryInterface(const TUID, void** obj) override
  {
    *obj = nullptr;
    return kNoInterface;
  }
  uint32 PLUGIN_API addRef() override { return 1; }
  uint32 PLUGIN_API release() override { return 1; }
  void PLUGIN_API onFDIsSet(Linux::FileDescriptor fd) override
  {
    ++calls;
    DrainPipe(fd);
  }

  int calls = 0;
};

Linux::IRunLoop& RunLoopOf(VST3HostContext& context)
{
  Linux::IRunLoop* loop = nullptr;
  EXPECT_EQ(context.queryInterface(Linux::IRunLoop::iid, reinterpret_cast<void**>(&loop)),
            kResultOk);
  loop->release();
  return *loop;
}

TEST(Vst3RunLoop, TimersFireAboutOncePerIntervalOverADuration)
{
  TimerCounter fast;
  TimerCounter slow;
  IPtr<VST3HostContext> context = VST3HostContext::Create("test");
  Linux::IRunLoop& loop = RunLoopOf(*context);
  ASSERT_EQ(loop.registerTimer(&fast, 10), kResultOk);
  ASSERT_EQ(loop.registerTimer(&slow, 40), kResultOk);
  context->RunFor(400ms);
  // 40 and 10 when the machine keeps up; a timer never fires ahead of its interval.
  EXPECT_GE(fast.fired, 10);
  EXPECT_LE(fast.fired, 41);
  EXPECT_GE(slow.fired, 2);
  EXPECT_LE(slow.fired, 11);
  EXPECT_GT(fast.fired, slow.fired);
  EXPECT_EQ(loop.unregisterTimer(&fast), kResultOk);
  EXPECT_EQ(loop.unregisterTimer(&slow), kResultOk);
  EXPECT_EQ(context->TimerCount(), 0u);
}

TEST(Vst3RunLoop, ADescriptorIsServedWhenReadableAndNotOtherwise)
{
  Pipe pipe;
  FdReader reader;
  IPtr<VST3HostContext> context = VST3HostContext::Create("test");
  Linux::IRunLoop& loop = RunLoopOf(*context);
  ASSERT_EQ(loop.registerEventHandler(&reader, pipe.readEnd), kResultOk);
  // One registration per descriptor.
  FdReader other;
  EXPECT_NE(loop.registerEventHandler(&other, pipe.readEnd), kResultOk);

  context->RunFor(50ms);
  EXPECT_EQ(reader.calls, 0);
  pipe.Write();
  context->RunFor(5s, [&] { return reader.calls > 0; });
  EXPECT_EQ(reader.calls, 1);
  context->RunFor(50ms);
  EXPECT_EQ(reader.calls, 1) << "served again after the data was read";

  EXPECT_EQ(loop.unregisterEventHandler(&reader), kResultOk);
  EXPECT_EQ(context->EventHandlerCount(), 0u);
  pipe.Write();
  context->RunFor(50ms);
  EXPECT_EQ(reader.calls, 1);
}

TEST(Vst3RunLoop, AHungUpDescriptorIsReportedOnceInsteadOfSpinning)
{
  Pipe pipe;
  FdReader reader;
  IPtr<VST3HostContext> context = VST3HostContext::Create("test");
  Linux::IRunLoop& loop = RunLoopOf(*context);
  ASSERT_EQ(loop.registerEventHandler(&reader, pipe.readEnd), kResultOk);
  pipe.CloseWriteEnd();
  context->RunFor(100ms);
  EXPECT_EQ(reader.calls, 1);
  EXPECT_EQ(loop.unregisterEventHandler(&reader), kResultOk);
}

TEST(Vst3RunLoop, RefusesBadRegistrations)
{
  TimerCounter timer;
  FdReader reader;
  IPtr<VST3HostContext> context = VST3HostContext::Create("test");
  Linux::IRunLoop& loop = RunLoopOf(*context);
  EXPECT_NE(loop.registerTimer(nullptr, 10), kResultOk);
  EXPECT_NE(loop.registerTimer(&timer, 0), kResultOk);
  EXPECT_NE(loop.registerEventHandler(&reader, -1), kResultOk);
  EXPECT_NE(loop.registerEventHandler(nullptr, 0), kResultOk);
  EXPECT_NE(loop.unregisterTimer(&timer), kResultOk);
  EXPECT_NE(loop.unregisterEventHandler(&reader), kResultOk);
}

// A timer that ends its own registration from its callback, as an editor closing on a timer does.
class SelfEndingTimer final : public Linux::ITimerHandler
{
public:
  explicit SelfEndingTimer(Linux::IRunLoop& loop) : mLoop(loop) {}
  tresult PLUGIN_API queryInterface(const TUID, void** obj) override
  {
    *obj = nullptr;
    return kNoInterface;
  }
  uint32 PLUGIN_API addRef() override { return 1; }
  uint32 PLUGIN_API release() override { return 1; }
  void PLUGIN_API onTimer() override
  {
    ++fired;
    mLoop.unregisterTimer(this);
  }

  int fired = 0;

private:
  Linux::IRunLoop& mLoop;
};

TEST(Vst3RunLoop, ATimerMayUnregisterItselfWhileFiring)
{
  IPtr<VST3HostContext> context = VST3HostContext::Create("test");
  Linux::IRunLoop& loop = RunLoopOf(*context);
  SelfEndingTimer timer(loop);
  ASSERT_EQ(loop.registerTimer(&timer, 5), kResultOk);
  context->RunFor(100ms);
  EXPECT_EQ(timer.fired, 1);
  EXPECT_EQ(context->TimerCount(), 0u);
}

TEST(ClapRunLoop, TimersFireAboutOncePerIntervalOverADuration)
{
  FakeClapPlugin fake;
  ClapHost host({});
  host.AttachPlugin(&fake.record);
  const auto* timers = HostExtension<clap_host_timer_support>(host, CLAP_EXT_TIMER_SUPPORT);
  ASSERT_TRUE(timers);
  clap_id fast = 0;
  clap_id slow = 0;
  ASSERT_TRUE(timers->register_timer(host.Record(), 10, &fast));
  ASSERT_TRUE(timers->register_timer(host.Record(), 40, &slow));
  EXPECT_NE(fast, slow);
  EXPECT_FALSE(timers->register_timer(host.Record(), 0, &slow));
  host.RunFor(400ms);
  EXPECT_GE(fake.timerFires[fast], 10);
  EXPECT_LE(fake.timerFires[fast], 41);
  EXPECT_GE(fake.timerFires[slow], 2);
  EXPECT_LE(fake.timerFires[slow], 11);
  EXPECT_EQ(fake.timerFires.size(), 2u);

  EXPECT_TRUE(timers->unregister_timer(host.Record(), fast));
  EXPECT_FALSE(timers->unregister_timer(host.Record(), fast));
  const int before = fake.timerFires[fast];
  host.RunFor(50ms);
  EXPECT_EQ(fake.timerFires[fast], before);
  EXPECT_EQ(host.Timers().size(), 1u);
}

TEST(ClapRunLoop, DescriptorsAreServedWithTheReadFlagWhenReadable)
{
  FakeClapPlugin fake;
  ClapHost host({});
  host.AttachPlugin(&fake.record);
  const auto* fds = HostExtension<clap_host_posix_fd_support>(host, CLAP_EXT_POSIX_FD_SUPPORT);
  ASSERT_TRUE(fds);
  Pipe pipe;
  ASSERT_TRUE(fds->register_fd(host.Record(), pipe.readEnd, CLAP_POSIX_FD_READ));
  EXPECT_FALSE(fds->register_fd(host.Record(), pipe.readEnd, CLAP_POSIX_FD_READ));

  host.RunFor(50ms);
  EXPECT_TRUE(fake.fdCalls.empty());
  pipe.Write();
  host.RunFor(5s, [&] { return !fake.fdCalls.empty(); });
  ASSERT_EQ(fake.fdCalls.size(), 1u);
  EXPECT_EQ(fake.fdCalls[0].first, pipe.readEnd);
  EXPECT_EQ(fake.fdCalls[0].second, CLAP_POSIX_FD_READ);

  // A hang-up is an error, reported once.
  pipe.CloseWriteEnd();
  host.RunFor(100ms);
  ASSERT_EQ(fake.fdCalls.size(), 2u);
  EXPECT_TRUE(fake.fdCalls[1].second & CLAP_POSIX_FD_ERROR);

  EXPECT_TRUE(fds->unregister_fd(host.Record(), pipe.readEnd));
  EXPECT_FALSE(fds->unregister_fd(host.Record(), pipe.readEnd));
  EXPECT_EQ(host.FdCount(), 0u);
}

TEST(ClapRunLoop, ACallbackRequestFromAnotherThreadRunsOnTheMainThreadPromptly)
{
  FakeClapPlugin fake;
  ClapHost host({});
  host.AttachPlugin(&fake.record);
  const auto start = std::chrono::steady_clock::now();
  std::thread other([&] { host.Record()->request_callback(host.Record()); });
  host.RunFor(10s, [&] { return fake.mainThreadCalls > 0; });
  other.join();
  EXPECT_EQ(fake.mainThreadCalls, 1);
  EXPECT_TRUE(fake.mainThreadCallsOnMainThread);
  // Woken by the request, not by the end of the run.
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
}

TEST(ClapRunLoop, ExtensionsCanBeWithheld)
{
  ClapHost::Options options;
  options.offerTimerSupport = false;
  options.offerPosixFdSupport = false;
  options.offerGui = false;
  ClapHost host(options);
  EXPECT_FALSE(HostExtension<clap_host_timer_support>(host, CLAP_EXT_TIMER_SUPPORT));
  EXPECT_FALSE(HostExtension<clap_host_posix_fd_support>(host, CLAP_EXT_POSIX_FD_SUPPORT));
  EXPECT_FALSE(HostExtension<clap_host_gui>(host, CLAP_EXT_GUI));
}

} // namespace
} // namespace velmora::test
