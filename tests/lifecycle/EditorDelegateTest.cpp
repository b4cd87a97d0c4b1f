#include "framework/core/IPlugBase.h"
#include "framework/graphics/IGraphics.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace iplug;
using namespace iplug::igraphics;

namespace
{

iplug::Config TwoParamConfig(int nPresets)
{
  iplug::Config config;
  config.nParams = 2;
  config.nPresets = nPresets;
  config.channelIOStr = "1-1";
  return config;
}

// A bare plug-in on the framework base that records the hooks and change handling it sees.
class RecordingPlugin final : public IPlugBase
{
public:
  explicit RecordingPlugin(int nPresets = 2) : IPlugBase(InstanceInfo{}, TwoParamConfig(nPresets))
  {
    GetParam(0)->InitDouble("A", 0., -10., 10., 0.1);
    GetParam(1)->InitBool("B", false);
  }
  ~RecordingPlugin() override { CloseEditor(); }

  void OnParamChange(int paramIdx) override
  {
    events.push_back("change " + std::to_string(paramIdx));
  }
  void OnParamChangeUI(int paramIdx, EParamSource) override
  {
    events.push_back("ui " + std::to_string(paramIdx));
  }
  void OnUIOpen() override
  {
    IPlugBase::OnUIOpen();
    events.push_back(GetUI() ? "open with editor" : "open without editor");
  }
  void OnUIClose() override { events.push_back(GetUI() ? "close with editor" : "close without"); }

  std::vector<std::string> events;
};

// Records the messages routed to it.
class MessageProbe final : public IControl
{
public:
  explicit MessageProbe(std::vector<int>& log, int paramIdx = kNoParameter)
      : IControl({}, paramIdx), mLog(log)
  {
  }
  void OnMsgFromDelegate(int msgTag, int, const void*) override { mLog.push_back(msgTag); }

private:
  std::vector<int>& mLog;
};

struct EditorFixture : ::testing::Test
{
  void SetUp() override
  {
    plugin.SetEditorCreateFunc(
        [this]
        {
          plugin.events.push_back("create");
          return std::make_unique<IGraphics>(plugin, 650, 400, 60, 1.5f);
        });
    plugin.SetLayoutFunc(
        [this](IGraphics& ui)
        {
          plugin.events.push_back("layout");
          ui.AttachControl(std::make_unique<MessageProbe>(messages), 7);
          ui.AttachControl(std::make_unique<MessageProbe>(duplicate), 7);
          ui.AttachControl(std::make_unique<MessageProbe>(messages, 0), 8);
        });
  }

  RecordingPlugin plugin;
  std::vector<int> messages;
  std::vector<int> duplicate;
};

} // namespace

TEST_F(EditorFixture, OpeningCreatesLaysOutThenNotifiesAndClosingNotifiesBeforeDestroying)
{
  IGraphics* ui = plugin.OpenEditor();
  ASSERT_NE(ui, nullptr);
  EXPECT_EQ(plugin.GetUI(), ui);
  EXPECT_EQ(ui->FPS(), 60);
  EXPECT_EQ(ui->GetDrawScale(), 1.5f);
  EXPECT_EQ(plugin.OpenEditor(), ui);
  plugin.CloseEditor();
  EXPECT_EQ(plugin.GetUI(), nullptr);
  plugin.CloseEditor();
  ASSERT_NE(plugin.OpenEditor(), nullptr);
  EXPECT_EQ(plugin.events,
            (std::vector<std::string>{"create", "layout", "open with editor", "close with editor",
                                      "create", "layout", "open with editor"}));
}

TEST_F(EditorFixture, NoEditorWithoutACreationFunctionOrWhenItFails)
{
  RecordingPlugin bare;
  EXPECT_EQ(bare.OpenEditor(), nullptr);
  plugin.SetEditorCreateFunc([] { return std::unique_ptr<IGraphics>(); });
  EXPECT_EQ(plugin.OpenEditor(), nullptr);
  bare.CloseEditor();
  plugin.CloseEditor();
  EXPECT_TRUE(bare.events.empty());
  EXPECT_TRUE(plugin.events.empty());
}

TEST_F(EditorFixture, ControlMessagesGoToTheOneControlWithTheTag)
{
  plugin.SendControlMsgFromDelegate(7, 1, 0, nullptr);
  plugin.OpenEditor();
  for (const int tag : {7, 3, kNoTag, 7, 8})
    plugin.SendControlMsgFromDelegate(tag, tag * 10, 0, nullptr);
  EXPECT_EQ(messages, (std::vector<int>{70, 70, 80}));
  EXPECT_TRUE(duplicate.empty());
  EXPECT_EQ(plugin.GetUI()->GetControl(1)->GetTag(), kNoTag);
  plugin.CloseEditor();
  plugin.SendControlMsgFromDelegate(7, 1, 0, nullptr);
  EXPECT_EQ(messages.size(), 3u);
}

TEST_F(EditorFixture, ValuesFromThePluginReachBoundControlsAndMainThreadHandling)
{
  plugin.OpenEditor();
  IControl* bound = plugin.GetUI()->GetControlWithTag(8);
  EXPECT_DOUBLE_EQ(bound->GetValue(), 0.5);
  plugin.events.clear();
  IGraphics& ui = *plugin.GetUI();
  EXPECT_TRUE(ui.IsDirty());
  for (int i = 0; i < ui.NControls(); ++i)
    ui.GetControl(i)->ClearDirty();
  EXPECT_FALSE(ui.IsDirty());
  plugin.SendParameterValueFromDelegate(1, 1.0, true);
  EXPECT_FALSE(ui.IsDirty());
  plugin.SendParameterValueFromDelegate(0, 5.0, false);
  EXPECT_DOUBLE_EQ(bound->GetValue(), 0.75);
  EXPECT_TRUE(bound->IsDirty());
  EXPECT_TRUE(ui.IsDirty());
  EXPECT_DOUBLE_EQ(plugin.GetParam(0)->Value(), 0.0);
  plugin.SendParameterValueFromDelegate(0, 0.25, true);
  EXPECT_DOUBLE_EQ(bound->GetValue(), 0.25);
  plugin.SendParameterValueFromDelegate(5, 0.25, true);
  EXPECT_EQ(plugin.events, (std::vector<std::string>{"ui 1", "ui 0", "ui 0"}));
}

TEST_F(EditorFixture, EditsFromTheEditorSetTheParameterAndRunBothHandlers)
{
  plugin.OpenEditor();
  IControl* bound = plugin.GetUI()->GetControlWithTag(8);
  plugin.events.clear();
  bound->SetValue(1.0);
  bound->SetDirty(true);
  EXPECT_DOUBLE_EQ(plugin.GetParam(0)->Value(), 10.0);
  bound->SetValue(0.0);
  bound->SetDirty(false);
  EXPECT_DOUBLE_EQ(plugin.GetParam(0)->Value(), 10.0);
  plugin.SendParameterValueFromUI(1, 0.5);
  EXPECT_EQ(plugin.GetParam(1)->Value(), 1.0);
  plugin.SendParameterValueFromUI(9, 0.5);
  EXPECT_EQ(plugin.events, (std::vector<std::string>{"change 0", "ui 0", "change 1", "ui 1"}));
}

TEST(IdleTimer, TheTickRunsTheIdleStep)
{
  struct Ticking final : IPlugBase
  {
    Ticking() : IPlugBase(InstanceInfo{}, TwoParamConfig(0)) {}
    void OnIdle() override { ++idles; }
    int idles = 0;
  } plugin;
  ITimerClient& timer = plugin;
  timer.OnTimer();
  timer.OnTimer();
  EXPECT_EQ(plugin.idles, 2);
  EXPECT_EQ(kIdleTimerIntervalMs, 20);
}

TEST(FrameworkPresets, EveryConfiguredEntryCapturesThenRestoresOnItsOwn)
{
  RecordingPlugin plugin(3);
  ASSERT_EQ(plugin.NPresets(), 3);
  plugin.GetParam(0)->Set(4.0);
  ASSERT_TRUE(plugin.RestorePreset(2));
  EXPECT_EQ(plugin.GetCurrentPresetIdx(), 2);
  plugin.GetParam(0)->Set(-3.0);
  ASSERT_TRUE(plugin.RestorePreset(1));
  EXPECT_EQ(plugin.GetCurrentPresetIdx(), 1);
  EXPECT_FALSE(plugin.GetPresetInitialized(0));
  plugin.events.clear();
  ASSERT_TRUE(plugin.RestorePreset(2));
  EXPECT_EQ(plugin.GetParam(0)->Value(), 4.0);
  // Recall runs the change handling for each parameter, then the restore notification.
  EXPECT_EQ(plugin.events,
            (std::vector<std::string>{"change 0", "ui 0", "change 1", "ui 1", "ui 0", "ui 1"}));
  ASSERT_TRUE(plugin.RestorePreset(1));
  EXPECT_EQ(plugin.GetParam(0)->Value(), -3.0);
}

TEST(FrameworkState, NoParametersSaveNothingAndRestoreInPlace)
{
  struct Empty final : IPlugBase
  {
    Empty() : IPlugBase(InstanceInfo{}, iplug::Config{}) {}
  } plugin;
  IByteChunk chunk;
  EXPECT_TRUE(plugin.SerializeState(chunk));
  EXPECT_EQ(chunk.Size(), 0);
  EXPECT_EQ(plugin.UnserializeState(chunk, 0), 0);
  EXPECT_EQ(plugin.NPresets(), 0);
}
