// The host's side of an open editor: the VST3 frame, the record of edits in both formats, the
// CLAP host gui, and the built modules' editors refused to a host without a run loop.
#include "tests/hostui/HostUiTestSupport.h"
#include "tools/host/clap/ClapEditRecorder.h"
#include "tools/host/clap/ClapHost.h"
#include "tools/host/clap/ClapHostedPlugin.h"
#include "tools/host/vst3/VST3ComponentHandler.h"
#include "tools/host/vst3/VST3HostContext.h"
#include "tools/host/vst3/VST3HostedPlugin.h"
#include "tools/host/vst3/VST3PlugFrame.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

namespace velmora::test
{
namespace
{

using namespace Steinberg;
using namespace clapabi;
using namespace std::chrono_literals;
using host::HostEdit;
using host::HostEditorSize;

// A view that records the sizes it is told.
class RecordingView final : public IPlugView
{
public:
  tresult PLUGIN_API queryInterface(const TUID, void** obj) override
  {
    *obj = nullptr;
    return kNoInterface;
  }
  uint32 PLUGIN_API addRef() override { return 1; }
  uint32 PLUGIN_API release() override { return 1; }
  tresult PLUGIN_API isPlatformTypeSupported(FIDString) override { return kResultTrue; }
  tresult PLUGIN_API attached(void*, FIDString) override { return kResultOk; }
  tresult PLUGIN_API removed() override { return kResultOk; }
  tresult PLUGIN_API onWheel(float) override { return kResultOk; }
  tresult PLUGIN_API onKeyDown(char16, int16, int16) override { return kResultOk; }
  tresult PLUGIN_API onKeyUp(char16, int16, int16) override { return kResultOk; }
  tresult PLUGIN_API getSize(ViewRect* size) override
  {
    *size = current;
    return kResultOk;
  }
  tresult PLUGIN_API onSize(ViewRect* newSize) override
  {
    current = *newSize;
    told.push_back({newSize->getWidth(), newSize->getHeight()});
    return kResultOk;
  }
  tresult PLUGIN_API onFocus(TBool) override { return kResultOk; }
  tresult PLUGIN_API setFrame(IPlugFrame*) override { return kResultOk; }
  tresult PLUGIN_API canResize() override { return kResultFalse; }
  tresult PLUGIN_API checkSizeConstraint(ViewRect*) override { return kResultOk; }

  ViewRect current{0, 0, 650, 400};
  std::vector<HostEditorSize> told;
};

TEST(Vst3PlugFrame, AResizeResizesTheHostWindowThenTellsTheView)
{
  RecordingView view;
  std::vector<HostEditorSize> hostWindow;
  size_t toldWhenHostResized = 0;
  IPtr<host::vst3::VST3PlugFrame> frame =
      host::vst3::VST3PlugFrame::Create(host::vst3::VST3HostContext::Create("test"), &view,
                                        [&](int width, int height)
                                        {
                                          hostWindow.push_back({width, height});
                                          toldWhenHostResized = view.told.size();
                                        });

  ViewRect rect{0, 0, 975, 600};
  EXPECT_EQ(frame->resizeView(&view, &rect), kResultTrue);
  EXPECT_EQ(hostWindow, (std::vector<HostEditorSize>{{975, 600}}));
  EXPECT_EQ(toldWhenHostResized, 0u);
  EXPECT_EQ(view.told, (std::vector<HostEditorSize>{{975, 600}}));

  RecordingView stranger;
  ViewRect empty{0, 0, 0, 400};
  ViewRect huge{0, 0, 40000, 400};
  EXPECT_NE(frame->resizeView(&stranger, &rect), kResultTrue);
  EXPECT_NE(frame->resizeView(&view, nullptr), kResultTrue);
  EXPECT_NE(frame->resizeView(&view, &empty), kResultTrue);
  EXPECT_NE(frame->resizeView(&view, &huge), kResultTrue);
  EXPECT_EQ(hostWindow.size(), 1u);
  EXPECT_TRUE(stranger.told.empty());
}

// Where each way of offering puts the one run loop: the context, the frame, and the component
// handler once the host has made an editor.
TEST(Vst3RunLoopOffer, EachOfferAnswersTheRunLoopWhereItSays)
{
  using host::vst3::RunLoopOffer;
  struct Case
  {
    RunLoopOffer offer;
    bool context;
    bool frame;
    bool handler;
  };
  const Case cases[] = {{RunLoopOffer::ContextAndFrame, true, true, false},
                        {RunLoopOffer::None, false, false, false},
                        {RunLoopOffer::FrameAndHandler, false, true, true},
                        {RunLoopOffer::HandlerOnly, false, false, true}};
  RecordingView view;
  for (const Case& c : cases)
  {
    SCOPED_TRACE(static_cast<int>(c.offer));
    IPtr<host::vst3::VST3HostContext> context = host::vst3::VST3HostContext::Create("t", c.offer);
    IPtr<host::vst3::VST3PlugFrame> frame =
        host::vst3::VST3PlugFrame::Create(context, &view, nullptr);
    IPtr<host::vst3::VST3ComponentHandler> handler = host::vst3::VST3ComponentHandler::Create();
    const auto runLoopOf = [](FUnknown& object)
    {
      Linux::IRunLoop* runLoop = nullptr;
      const tresult result =
          object.queryInterface(Linux::IRunLoop::iid, reinterpret_cast<void**>(&runLoop));
      EXPECT_EQ(result == kResultOk, runLoop != nullptr);
      return owned(runLoop);
    };
    EXPECT_FALSE(runLoopOf(*handler)) << "before an editor exists";
    if (c.handler)
      handler->OfferRunLoop(context);
    const IPtr<Linux::IRunLoop> loops[] = {runLoopOf(*context), runLoopOf(*frame),
                                           runLoopOf(*handler)};
    const bool expected[] = {c.context, c.frame, c.handler};
    Linux::IRunLoop* theLoop = nullptr;
    for (size_t i = 0; i < 3; ++i)
    {
      EXPECT_EQ(loops[i] != nullptr, expected[i]) << i;
      if (!loops[i])
        continue;
      if (theLoop)
      {
        EXPECT_EQ(loops[i].get(), theLoop) << i;
      }
      theLoop = loops[i].get();
    }
  }
}

std::unique_ptr<host::HostedPlugin> LoadWithoutRunLoop(const std::string& path, std::string& error)
{
  if (path.ends_with(".clap"))
  {
    host::ClapHost::Options options;
    options.offerTimerSupport = false;
    options.offerPosixFdSupport = false;
    return host::ClapHostedPlugin::Load(path, error, options);
  }
  std::shared_ptr<host::vst3::VST3Module> module = host::vst3::VST3Module::Load(path, error);
  if (!module)
    return nullptr;
  return host::vst3::VST3HostedPlugin::Create(module, "No Run Loop Host", error,
                                              host::vst3::RunLoopOffer::None);
}

class BuiltModuleEditor : public ::testing::TestWithParam<const char*>
{
};

TEST_P(BuiltModuleEditor, WithoutARunLoopOpeningFailsCleanly)
{
  std::string error;
  std::unique_ptr<host::HostedPlugin> plugin = LoadWithoutRunLoop(GetParam(), error);
  ASSERT_TRUE(plugin) << error;
  const host::HostRunLoopCounts registered = plugin->RunLoopRegistrations();
  // Any non-zero window id: the refusal comes before a window would be made.
  EXPECT_FALSE(plugin->OpenEditor(1, 1.5, error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(plugin->EditorOpen());
  EXPECT_FALSE(plugin->EditorSize());
  plugin->CloseEditor();
  EXPECT_TRUE(plugin->TakeEdits().empty());
  EXPECT_TRUE(plugin->ResizeRequests().empty());
  EXPECT_EQ(plugin->RunLoopRegistrations(), registered);
}

INSTANTIATE_TEST_SUITE_P(BothFormats, BuiltModuleEditor,
                         ::testing::Values(VELMORA_VST3_BUNDLE_PATH, VELMORA_CLAP_MODULE));

} // namespace
} // namespace velmora::test
