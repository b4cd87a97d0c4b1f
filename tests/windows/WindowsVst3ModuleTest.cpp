// What only the Windows VST3 DLL does: InitDll and ExitDll counting, the idle timer as a Win32
// timer on the thread that created the instance, and no editor view yet.
#include "tests/vst3/Vst3TestSupport.h"
#include "tools/host/WindowsText.h"

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <gtest/gtest.h>

namespace velmora::test
{
namespace
{

using namespace std::chrono_literals;
constexpr uint32_t kOversamplingId = 11;
constexpr int kBlock = 256;

TEST(WindowsVst3Module, InitDllAndExitDllAreCounted)
{
  HMODULE module = LoadLibraryW(host::Utf16FromUtf8(kBinaryPath).c_str());
  ASSERT_NE(module, nullptr) << GetLastError();
  // Through the generic function type, which GCC allows a cast from and to without a warning.
  const auto init =
      reinterpret_cast<bool (*)()>(reinterpret_cast<void (*)()>(GetProcAddress(module, "InitDll")));
  const auto exit =
      reinterpret_cast<bool (*)()>(reinterpret_cast<void (*)()>(GetProcAddress(module, "ExitDll")));
  ASSERT_NE(init, nullptr);
  ASSERT_NE(exit, nullptr);
  EXPECT_EQ(GetProcAddress(module, "ModuleEntry"), nullptr);

  EXPECT_TRUE(init());
  EXPECT_TRUE(init());
  EXPECT_TRUE(exit());  // count 1
  EXPECT_TRUE(exit());  // count 0
  EXPECT_FALSE(exit()); // unmatched: count -1
  EXPECT_TRUE(init());  // count 0
  EXPECT_FALSE(exit()); // unmatched again
  EXPECT_TRUE(init());  // balanced for whoever loads the module next
  FreeLibrary(module);
}

class WindowsVst3Instance : public ::testing::Test
{
protected:
  void SetUp() override
  {
    effect = LoadEffect();
    ASSERT_NE(effect, nullptr);
    Start();
  }

  void Start()
  {
    host::ProcessSetup setup;
    setup.sampleRate = 48000.0;
    setup.maxBlockSize = kBlock;
    std::string error;
    ASSERT_TRUE(effect->Start(setup, error)) << error;
  }

  std::unique_ptr<host::vst3::VST3HostedPlugin> effect;
};

// The host offers no run loop on Windows: the report of the oversampled path's latency comes
// from the plug-in's own timer, while the host only runs its message loop.
TEST_F(WindowsVst3Instance, LatencyReachesTheHostThroughTheWin32IdleTimer)
{
  effect->Handler().ClearRestarts();
  ASSERT_TRUE(effect->SetParameter(kOversamplingId, 1.0));
  ProcessSilence(*effect, 8, kBlock);
  EXPECT_EQ(LatencyRestarts(*effect), 0);
  EXPECT_EQ(effect->Latency(), 0);

  effect->RunEventLoop(2s, [&] { return LatencyRestarts(*effect) > 0; });
  EXPECT_EQ(LatencyRestarts(*effect), 1);
  EXPECT_TRUE(AllRestartsOnMainThread(*effect));
  const int oversampled = effect->Latency();
  EXPECT_GT(oversampled, 0);

  // A reset keeps the path and its latency.
  effect->Stop();
  Start();
  ProcessSilence(*effect, 2, kBlock);
  // Idle ticks after the reset run before the latency is read again.
  effect->RunEventLoop(50ms);
  EXPECT_EQ(effect->Latency(), oversampled);
}

TEST_F(WindowsVst3Instance, TheEditorViewEmbedsInHwndsOnly)
{
  using namespace Steinberg;
  EXPECT_EQ(effect->Controller().createView("other"), nullptr);
  IPtr<IPlugView> view = owned(effect->Controller().createView(Vst::ViewType::kEditor));
  ASSERT_TRUE(view);
  EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeHWND), kResultTrue);
  for (FIDString type : {kPlatformTypeX11EmbedWindowID, kPlatformTypeNSView, kPlatformTypeHIView,
                         static_cast<FIDString>("")})
    EXPECT_EQ(view->isPlatformTypeSupported(type), kResultFalse) << type;
  // Attaching to another platform's window is refused before anything is made.
  int dummy = 0;
  EXPECT_NE(view->attached(&dummy, kPlatformTypeX11EmbedWindowID), kResultOk);
  EXPECT_NE(view->attached(nullptr, kPlatformTypeHWND), kResultOk);
  ViewRect size;
  ASSERT_EQ(view->getSize(&size), kResultOk);
  EXPECT_EQ(size.getWidth(), 650);
  EXPECT_EQ(size.getHeight(), 400);
  EXPECT_EQ(view->canResize(), kResultFalse);
}

} // namespace
} // namespace velmora::test
