// The host's side of an open editor: the VST3 frame, the record of edits in both formats, the
// CLAP host gui, and what the built modules answer when asked for an editor.
#include "tests/hostui/HostUiTestSupport.h"
#include "tools/host/HostedPluginLoader.h"
#include "tools/host/clap/ClapEditRecorder.h"
#include "tools/host/clap/ClapHost.h"
#include "tools/host/vst3/VST3ComponentHandler.h"
#include "tools/host/vst3/VST3HostContext.h"
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

TEST(Vst3PlugFrame, AnswersTheHostContextsRunLoopOnlyWhenItOffersOne)
{
  RecordingView view;
  for (const bool offer : {true, false})
  {
    IPtr<host::vst3::VST3HostContext> context = host::vst3::VST3HostContext::Create("t", offer);
    IPtr<host::vst3::VST3PlugFrame> frame =
        host::vst3::VST3PlugFrame::Create(context, &view, nullptr);
    Linux::IRunLoop* fromFrame = nullptr;
    const tresult result =
        frame->queryInterface(Linux::IRunLoop::iid, reinterpret_cast<void**>(&fromFrame));
    if (!offer)
    {
      EXPECT_NE(result, kResultOk);
      EXPECT_EQ(fromFrame, nullptr);
      continue;
    }
    ASSERT_EQ(result, kResultOk);
    Linux::IRunLoop* fromContext = nullptr;
    ASSERT_EQ(context->queryInterface(Linux::IRunLoop::iid, reinterpret_cast<void**>(&fromContext)),
              kResultOk);
    EXPECT_EQ(fromFrame, fromContext);
    fromFrame->release();
    fromContext->release();
  }
}

TEST(Vst3ComponentHandler, RecordsEditStepsInOrderAndForwardsValues)
{
  IPtr<host::vst3::VST3ComponentHandler> handler = host::vst3::VST3ComponentHandler::Create();
  std::vector<std::pair<Vst::ParamID, double>> forwarded;
  handler->SetEditForwarder([&](Vst::ParamID id, Vst::ParamValue value)
                            { forwarded.emplace_back(id, value); });
  handler->beginEdit(3);
  handler->performEdit(3, 0.25);
  handler->performEdit(3, 0.5);
  handler->endEdit(3);
  const std::vector<HostEdit> expected{{HostEdit::Kind::Begin, 3, 0.0},
                                       {HostEdit::Kind::Value, 3, 0.25},
                                       {HostEdit::Kind::Value, 3, 0.5},
                                       {HostEdit::Kind::End, 3, 0.0}};
  EXPECT_EQ(handler->TakeEdits(), expected);
  EXPECT_TRUE(handler->TakeEdits().empty());
  EXPECT_EQ(forwarded, (std::vector<std::pair<Vst::ParamID, double>>{{3, 0.25}, {3, 0.5}}));
}

TEST(Vst3ComponentHandler, EditsFromSeveralThreadsAreAllKept)
{
  IPtr<host::vst3::VST3ComponentHandler> handler = host::vst3::VST3ComponentHandler::Create();
  constexpr int kPerThread = 2000;
  std::vector<std::thread> threads;
  for (Vst::ParamID id = 0; id < 3; ++id)
    threads.emplace_back(
        [&handler, id]
        {
          for (int i = 0; i < kPerThread; ++i)
            handler->performEdit(id, i / double(kPerThread));
        });
  size_t taken = 0;
  for (int i = 0; i < 100; ++i)
    taken += handler->TakeEdits().size();
  for (std::thread& thread : threads)
    thread.join();
  taken += handler->TakeEdits().size();
  EXPECT_EQ(taken, 3u * kPerThread);
}

// Pushes one event as a plug-in does in process or flush.
bool Push(const host::ClapEditRecorder& recorder, const clap_event_header& event)
{
  return recorder.Output()->try_push(recorder.Output(), &event);
}

clap_event_param_gesture Gesture(uint16_t type, clap_id id)
{
  clap_event_param_gesture event{};
  event.header = {sizeof(event), 0, CLAP_CORE_EVENT_SPACE_ID, type, 0};
  event.param_id = id;
  return event;
}

clap_event_param_value Value(clap_id id, double value)
{
  clap_event_param_value event{};
  event.header = {sizeof(event), 0, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, 0};
  event.param_id = id;
  event.note_id = -1;
  event.port_index = event.channel = event.key = -1;
  event.value = value;
  return event;
}

TEST(ClapEditRecorder, GestureAndValueEventsBecomeEditsAndOthersAreDropped)
{
  host::ClapEditRecorder recorder;
  EXPECT_TRUE(Push(recorder, Gesture(CLAP_EVENT_PARAM_GESTURE_BEGIN, 2).header));
  EXPECT_TRUE(Push(recorder, Value(2, -12.0).header));
  clap_event_param_value modulation = Value(2, 0.5);
  modulation.header.type = CLAP_EVENT_PARAM_MOD;
  EXPECT_TRUE(Push(recorder, modulation.header));
  clap_event_param_value otherSpace = Value(2, 0.5);
  otherSpace.header.space_id = 7;
  EXPECT_TRUE(Push(recorder, otherSpace.header));
  clap_event_param_value truncated = Value(2, 0.5);
  truncated.header.size = sizeof(clap_event_header);
  EXPECT_FALSE(Push(recorder, truncated.header));
  EXPECT_TRUE(Push(recorder, Gesture(CLAP_EVENT_PARAM_GESTURE_END, 2).header));
  EXPECT_FALSE(recorder.Output()->try_push(recorder.Output(), nullptr));

  const std::vector<HostEdit> expected{{HostEdit::Kind::Begin, 2, 0.0},
                                       {HostEdit::Kind::Value, 2, -12.0},
                                       {HostEdit::Kind::End, 2, 0.0}};
  EXPECT_EQ(recorder.Take(), expected);
  EXPECT_TRUE(recorder.Take().empty());
}

TEST(ClapEditRecorder, AFullRecordRefusesInsteadOfGrowing)
{
  host::ClapEditRecorder recorder;
  int accepted = 0;
  while (accepted < 100000 && Push(recorder, Value(1, accepted).header))
    ++accepted;
  EXPECT_LT(accepted, 100000);
  EXPECT_EQ(recorder.Take().size(), static_cast<size_t>(accepted));
  EXPECT_TRUE(Push(recorder, Value(1, 0.0).header));
}

TEST(ClapHostGui, AResizeRequestOnTheMainThreadGoesStraightToTheHandler)
{
  host::ClapHost host({});
  const auto* gui = HostExtension<clap_host_gui>(host, CLAP_EXT_GUI);
  ASSERT_TRUE(gui);
  EXPECT_FALSE(gui->request_resize(host.Record(), 975, 600)) << "no handler, no resize";
  std::vector<HostEditorSize> sizes;
  host.SetResizeHandler(
      [&](uint32_t width, uint32_t height)
      {
        sizes.push_back({static_cast<int>(width), static_cast<int>(height)});
        return true;
      });
  EXPECT_TRUE(gui->request_resize(host.Record(), 975, 600));
  EXPECT_FALSE(gui->request_resize(host.Record(), 0, 600));
  EXPECT_EQ(sizes, (std::vector<HostEditorSize>{{975, 600}}));
}

TEST(ClapHostGui, AResizeRequestFromAnotherThreadIsCarriedOutOnTheMainThread)
{
  host::ClapHost host({});
  const auto* gui = HostExtension<clap_host_gui>(host, CLAP_EXT_GUI);
  ASSERT_TRUE(gui);
  const std::thread::id mainThread = std::this_thread::get_id();
  std::vector<HostEditorSize> sizes;
  bool onMainThread = true;
  host.SetResizeHandler(
      [&](uint32_t width, uint32_t height)
      {
        onMainThread = onMainThread && std::this_thread::get_id() == mainThread;
        sizes.push_back({static_cast<int>(width), static_cast<int>(height)});
        return true;
      });
  std::thread other([&] { EXPECT_TRUE(gui->request_resize(host.Record(), 1300, 800)); });
  other.join();
  EXPECT_TRUE(sizes.empty());
  host.RunFor(5s, [&] { return !sizes.empty(); });
  EXPECT_EQ(sizes, (std::vector<HostEditorSize>{{1300, 800}}));
  EXPECT_TRUE(onMainThread);
}

TEST(ClapHostGui, RecordsShowHideHintsAndAClosedEditorThatMustBeDestroyed)
{
  host::ClapHost host({});
  const auto* gui = HostExtension<clap_host_gui>(host, CLAP_EXT_GUI);
  ASSERT_TRUE(gui);
  EXPECT_TRUE(gui->request_show(host.Record()));
  EXPECT_TRUE(gui->request_hide(host.Record()));
  gui->resize_hints_changed(host.Record());
  gui->closed(host.Record(), false);
  EXPECT_FALSE(host.TakeGuiDestroyed());
  gui->closed(host.Record(), true);
  EXPECT_TRUE(host.TakeGuiDestroyed());
  EXPECT_FALSE(host.TakeGuiDestroyed());
  EXPECT_EQ(host.Gui().showRequests, 1);
  EXPECT_EQ(host.Gui().hideRequests, 1);
  EXPECT_EQ(host.Gui().resizeHintsChanged, 1);
  EXPECT_EQ(host.Gui().closed, 2);
}

TEST(ClapHostParams, AFlushRequestIsKeptForTheMainThreadAndWakesTheLoop)
{
  host::ClapHost host({});
  const auto* params = HostExtension<clap_host_params>(host, CLAP_EXT_PARAMS);
  ASSERT_TRUE(params);
  EXPECT_FALSE(host.TakeFlushRequest());
  std::thread other([&] { params->request_flush(host.Record()); });
  other.join();
  bool seen = false;
  host.SetPassWork([&] { seen = seen || host.TakeFlushRequest(); });
  host.RunFor(5s, [&] { return seen; });
  EXPECT_TRUE(seen);
  EXPECT_EQ(host.FlushRequests(), 1);
}

// The built modules' editor needs a window to open in; without one, asking fails cleanly.
class BuiltModuleEditor : public ::testing::TestWithParam<const char*>
{
};

TEST_P(BuiltModuleEditor, OpeningWithoutAWindowFailsCleanly)
{
  std::string error;
  std::unique_ptr<host::HostedPlugin> plugin = host::LoadHostedPlugin(GetParam(), error);
  ASSERT_TRUE(plugin) << error;
  EXPECT_FALSE(plugin->OpenEditor(0, 1.5, error));
  EXPECT_EQ(error, "the editor did not open in the window");
  EXPECT_FALSE(plugin->EditorOpen());
  EXPECT_FALSE(plugin->EditorSize());
  plugin->CloseEditor();
  EXPECT_TRUE(plugin->TakeEdits().empty());
  EXPECT_TRUE(plugin->ResizeRequests().empty());
}

INSTANTIATE_TEST_SUITE_P(BothFormats, BuiltModuleEditor,
                         ::testing::Values(VELMORA_VST3_BUNDLE_PATH, VELMORA_CLAP_MODULE));

} // namespace
} // namespace velmora::test
