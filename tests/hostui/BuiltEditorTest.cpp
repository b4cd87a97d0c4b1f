// The built modules' editors in a host's top-level window on a private X server, driven by real
// pointer input through XTest: knob edits and a double-click reset reaching the host, the corner
// scaling the window and the scale surviving a reopen, repeated opening leaving nothing behind,
// the host's screenshots matching the editor drawn off-screen in the same state, and, in VST3
// hosts that offer their run loop only to an open editor (Ardour), meters that move and latency
// reports that arrive while it is open.
// GoogleTest comes before Xlib, whose macros (None, Bool, ...) would clash with it.
#include <gtest/gtest.h>

#include "tests/support/PixelImage.h"
#include "tests/support/XvfbSession.h"
#include "tools/DemoSignal.h"
#include "tools/host/HostWindow.h"
#include "tools/host/HostedPlugin.h"
#include "tools/host/HostedPluginLoader.h"
#include "tools/host/RealTimeAudio.h"
#include "tools/host/clap/ClapHostedPlugin.h"
#include "tools/host/vst3/VST3HostContextMenu.h"
#include "tools/host/vst3/VST3HostedPlugin.h"

#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace velmora::test
{
namespace
{

using namespace std::chrono_literals;
using host::HostEdit;
using host::HostEditorSize;
using host::vst3::VST3HostContextMenu;

constexpr uint32_t kThresholdId = 0;
// The Threshold knob's centre and the corner control, in editor pixels at 100 %.
constexpr int kKnobCentreX = 24 + 32;
constexpr int kKnobCentreY = 152 + 32;
constexpr int kCornerX = 640;
constexpr int kCornerY = 390;
constexpr HostEditorSize kFullSize{650, 400};
constexpr HostEditorSize kOneAndAHalf{975, 600};
// Generous: the machine running the tests may be busy.
constexpr std::chrono::milliseconds kPatience = 10s;

struct Point
{
  int x = 0;
  int y = 0;
};

// The editor drawn off-screen by the snapshot tool at a scale, with more of its options, read back.
PixelImage OffScreenRendering(double scale, const std::filesystem::path& path,
                              const std::string& options = "")
{
  const std::string command = "'" + std::string(VELMORA_SNAPSHOT_PATH) + "' --scale " +
                              std::to_string(scale) + " " + options + " '" + path.string() +
                              "' >/dev/null";
  if (std::system(command.c_str()) != 0)
    return {};
  return ReadPng(path);
}

class BuiltEditor : public ::testing::TestWithParam<const char*>
{
protected:
  static void SetUpTestSuite() { sXvfb = new XvfbSession(); }
  static void TearDownTestSuite()
  {
    delete sXvfb;
    sXvfb = nullptr;
  }

  void SetUp() override
  {
    ASSERT_TRUE(sXvfb->Running()) << "Xvfb did not start";
    mConfig = std::filesystem::temp_directory_path() /
              ("velmora-built-editor-" + std::to_string(::getpid()));
    std::filesystem::remove_all(mConfig);
    std::filesystem::create_directories(mConfig);
    if (const char* previous = std::getenv("XDG_CONFIG_HOME"))
      mPreviousConfig = previous;
    ::setenv("XDG_CONFIG_HOME", mConfig.c_str(), 1);
    mDisplay = XOpenDisplay(nullptr);
    ASSERT_NE(mDisplay, nullptr);
    std::string error;
    mPlugin = LoadPlugin(error);
    ASSERT_TRUE(mPlugin) << error;
    mWindow = host::HostWindow::Open("Velmora test", kFullSize, error);
    ASSERT_TRUE(mWindow) << error;
    mPlugin->SetResizeHandler([this](const HostEditorSize& size) { mWindow->Resize(size); });
  }

  virtual std::unique_ptr<host::HostedPlugin> LoadPlugin(std::string& error)
  {
    return host::LoadHostedPlugin(GetParam(), error);
  }

  void TearDown() override
  {
    if (mPlugin)
      mPlugin->CloseEditor();
    mPlugin.reset();
    mWindow.reset();
    if (mDisplay != nullptr)
      XCloseDisplay(mDisplay);
    if (mPreviousConfig)
      ::setenv("XDG_CONFIG_HOME", mPreviousConfig->c_str(), 1);
    else
      ::unsetenv("XDG_CONFIG_HOME");
    std::filesystem::remove_all(mConfig);
  }

  // Opens the editor as the editor command does: sized to the editor, then shown.
  void OpenEditor()
  {
    std::string error;
    ASSERT_TRUE(mPlugin->OpenEditor(mWindow->Id(), std::nullopt, error)) << error;
    const std::optional<HostEditorSize> size = mPlugin->EditorSize();
    ASSERT_TRUE(size);
    mWindow->Resize(*size);
    mWindow->Show();
    ASSERT_TRUE(Serve([this] { return EditorViewable(); })) << "the editor never showed";
  }

  // Runs the host's loop until done answers true or patience runs out.
  bool Serve(const std::function<bool()>& done)
  {
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (std::chrono::steady_clock::now() < deadline)
    {
      mPlugin->RunEventLoop(10ms);
      mWindow->ServeEvents();
      if (done())
        return true;
    }
    return false;
  }

  // Lets the editor read what the pointer did, then serves briefly so that it can react.
  void Settle()
  {
    XSync(mDisplay, False);
    mPlugin->RunEventLoop(15ms);
    mWindow->ServeEvents();
  }

  std::vector<Window> HostChildren() const
  {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    std::vector<Window> result;
    if (XQueryTree(mDisplay, mWindow->Id(), &root, &parent, &children, &count) != 0)
      result.assign(children, children + count);
    if (children != nullptr)
      XFree(children);
    return result;
  }

  bool EditorViewable() const
  {
    for (const Window child : HostChildren())
    {
      XWindowAttributes attributes{};
      if (XGetWindowAttributes(mDisplay, child, &attributes) != 0 &&
          attributes.map_state == IsViewable)
        return true;
    }
    return false;
  }

  HostEditorSize HostWindowSizeOnServer() const
  {
    XWindowAttributes attributes{};
    XGetWindowAttributes(mDisplay, mWindow->Id(), &attributes);
    return {attributes.width, attributes.height};
  }

  // A point of the host window in screen coordinates.
  Point OnScreen(int x, int y) const
  {
    int screenX = 0;
    int screenY = 0;
    Window child = 0;
    XTranslateCoordinates(mDisplay, mWindow->Id(), DefaultRootWindow(mDisplay), x, y, &screenX,
                          &screenY, &child);
    return {screenX, screenY};
  }

  // Presses button 1 at from, moves to to in steps, serving the editor between steps, and releases.
  void Drag(Point from, Point to)
  {
    constexpr int kSteps = 20;
    const Point start = OnScreen(from.x, from.y);
    const Point end = OnScreen(to.x, to.y);
    XTestFakeMotionEvent(mDisplay, -1, start.x, start.y, CurrentTime);
    Settle();
    XTestFakeButtonEvent(mDisplay, 1, True, CurrentTime);
    Settle();
    for (int step = 1; step <= kSteps; ++step)
    {
      XTestFakeMotionEvent(mDisplay, -1, start.x + (end.x - start.x) * step / kSteps,
                           start.y + (end.y - start.y) * step / kSteps, CurrentTime);
      Settle();
    }
    XTestFakeButtonEvent(mDisplay, 1, False, CurrentTime);
    Settle();
  }

  // What the host window shows, read back from its screenshot.
  PixelImage Screenshot()
  {
    const std::filesystem::path shot = mConfig / "host.png";
    std::string error;
    return mWindow->SavePng(shot.string(), error) ? ReadPng(shot) : PixelImage{};
  }

  // Waits for the editor's drawing to settle to the expected picture and answers how many pixels
  // of the host's last screenshot still differ.
  size_t ScreenshotDifference(const PixelImage& expected)
  {
    size_t differing = 0;
    Serve(
        [&]
        {
          differing = DifferingPixels(Screenshot(), expected);
          return differing == 0;
        });
    return differing;
  }

  // Away from the window, so that nothing shows a hover.
  void MovePointerAway()
  {
    XTestFakeMotionEvent(mDisplay, -1, 1590, 1190, CurrentTime);
    XSync(mDisplay, False);
  }

  // The editor opens at this scale from now on.
  void StoreScale(const char* preference)
  {
    const std::filesystem::path folder = mConfig / "Corvane Audio" / "Preferences";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "velmora-display-scale.txt") << preference;
  }

  // Presses a button at a point of the host window, or releases it.
  void Button(unsigned button, bool press, Point at)
  {
    const Point screen = OnScreen(at.x, at.y);
    XTestFakeMotionEvent(mDisplay, -1, screen.x, screen.y, CurrentTime);
    XTestFakeButtonEvent(mDisplay, button, press ? True : False, CurrentTime);
    Settle();
  }

  // Moves the pointer (a button held or not) in steps, serving the editor between them.
  void MoveInSteps(Point from, Point to)
  {
    constexpr int kSteps = 16;
    for (int step = 1; step <= kSteps; ++step)
    {
      const Point at = OnScreen(from.x + (to.x - from.x) * step / kSteps,
                                from.y + (to.y - from.y) * step / kSteps);
      XTestFakeMotionEvent(mDisplay, -1, at.x, at.y, CurrentTime);
      Settle();
    }
  }

  // Serves the editor for a while, whatever happens meanwhile.
  void ServeFor(std::chrono::milliseconds duration)
  {
    const auto end = std::chrono::steady_clock::now() + duration;
    Serve([end] { return std::chrono::steady_clock::now() >= end; });
  }

  std::string PreferenceFile() const
  {
    std::ifstream in(mConfig / "Corvane Audio" / "Preferences" / "velmora-display-scale.txt");
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  inline static XvfbSession* sXvfb = nullptr;
  std::filesystem::path mConfig;
  std::optional<std::string> mPreviousConfig;
  Display* mDisplay = nullptr;
  // Declared before the plug-in so that it goes after it: the editor is its child window.
  std::unique_ptr<host::HostWindow> mWindow;
  std::unique_ptr<host::HostedPlugin> mPlugin;
};

TEST_P(BuiltEditor, DraggingTheThresholdKnobIsAnEditTheHostSees)
{
  ASSERT_NO_FATAL_FAILURE(OpenEditor());
  mPlugin->TakeEdits();

  // The second press lands away from the first: at the same place soon after, it would be a
  // double-click, which resets the knob.
  const struct
  {
    int dx;
    int dy;
  } drags[] = {{0, 100}, {10, -50}};
  for (const auto [dx, dy] : drags)
  {
    SCOPED_TRACE(dy);
    const double start = mPlugin->GetParameter(kThresholdId);
    std::vector<HostEdit> edits;
    Drag({kKnobCentreX + dx, kKnobCentreY}, {kKnobCentreX + dx, kKnobCentreY + dy});
    ASSERT_TRUE(Serve(
        [&]
        {
          for (const HostEdit& edit : mPlugin->TakeEdits())
            edits.push_back(edit);
          return !edits.empty() && edits.back().kind == HostEdit::Kind::End;
        }))
        << "no finished edit reached the host";

    ASSERT_GE(edits.size(), 3u);
    EXPECT_EQ(edits.front(), (HostEdit{HostEdit::Kind::Begin, kThresholdId, 0.0}));
    EXPECT_EQ(edits.back(), (HostEdit{HostEdit::Kind::End, kThresholdId, 0.0}));
    for (size_t i = 1; i + 1 < edits.size(); ++i)
    {
      EXPECT_EQ(edits[i].kind, HostEdit::Kind::Value) << i;
      EXPECT_EQ(edits[i].id, kThresholdId) << i;
    }
    const double after = mPlugin->GetParameter(kThresholdId);
    EXPECT_DOUBLE_EQ(edits[edits.size() - 2].value, after);
    // Down lowers the knob, up raises it.
    if (dy > 0)
      EXPECT_LT(after, start);
    else
      EXPECT_GT(after, start);
  }

  // The editor shows the new threshold, its curve included, as one drawn with it from the start.
  const std::string threshold =
      mPlugin->TextFromValue(kThresholdId, mPlugin->GetParameter(kThresholdId));
  char* parsedTo = nullptr;
  const double decibels = std::strtod(threshold.c_str(), &parsedTo);
  ASSERT_NE(parsedTo, threshold.c_str()) << threshold;
  ASSERT_LT(decibels, 0.0) << threshold;
  const PixelImage expected = OffScreenRendering(1.0, mConfig / "offscreen.png",
                                                 "--set Threshold=" + std::to_string(decibels));
  ASSERT_EQ(expected.width, kFullSize.width);
  MovePointerAway();
  EXPECT_EQ(ScreenshotDifference(expected), 0u) << "at " << threshold;
  EXPECT_NE(DifferingPixels(Screenshot(), OffScreenRendering(1.0, mConfig / "default.png")), 0u);
}

TEST_P(BuiltEditor, DoubleClickingTheKnobResetsThresholdForTheHost)
{
  ASSERT_NO_FATAL_FAILURE(OpenEditor());
  const double defaultValue = mPlugin->GetParameter(kThresholdId);
  Drag({kKnobCentreX, kKnobCentreY}, {kKnobCentreX, kKnobCentreY + 100});
  ASSERT_TRUE(Serve(
      [&]
      {
        const std::vector<HostEdit> dragEdits = mPlugin->TakeEdits();
        return !dragEdits.empty() && dragEdits.back().kind == HostEdit::Kind::End;
      }));
  ASSERT_LT(mPlugin->GetParameter(kThresholdId), defaultValue);

  // Away from where the drag pressed, so that only the second of these presses is a double-click.
  const Point at = OnScreen(kKnobCentreX + 10, kKnobCentreY);
  XTestFakeMotionEvent(mDisplay, -1, at.x, at.y, CurrentTime);
  for (int click = 0; click < 2; ++click)
  {
    XTestFakeButtonEvent(mDisplay, 1, True, CurrentTime);
    XTestFakeButtonEvent(mDisplay, 1, False, CurrentTime);
  }
  XSync(mDisplay, False);
  // The first click may report a gesture without a value; the double-click ends with the reset.
  std::vector<HostEdit> edits;
  ASSERT_TRUE(Serve(
      [&]
      {
        for (const HostEdit& edit : mPlugin->TakeEdits())
          edits.push_back(edit);
        return edits.size() >= 3 && edits.back().kind == HostEdit::Kind::End &&
               edits[edits.size() - 2].kind == HostEdit::Kind::Value;
      }))
      << edits.size() << " edits";
  const std::vector<HostEdit> last(edits.end() - 3, edits.end());
  EXPECT_EQ(last, (std::vector<HostEdit>{{HostEdit::Kind::Begin, kThresholdId, 0.0},
                                         {HostEdit::Kind::Value, kThresholdId, defaultValue},
                                         {HostEdit::Kind::End, kThresholdId, 0.0}}));
  for (const HostEdit& edit : edits)
  {
    if (edit.kind == HostEdit::Kind::Value)
    {
      EXPECT_EQ(edit.value, defaultValue);
    }
  }
  EXPECT_EQ(mPlugin->GetParameter(kThresholdId), defaultValue);
}

TEST_P(BuiltEditor, TheCornerScalesTheWindowAndTheScaleSurvivesAReopen)
{
  ASSERT_NO_FATAL_FAILURE(OpenEditor());
  ASSERT_EQ(mPlugin->EditorSize(), kFullSize);
  const size_t requestsBefore = mPlugin->ResizeRequests().size();

  Drag({kCornerX, kCornerY}, {kCornerX * 3 / 2, kCornerY * 3 / 2});
  ASSERT_TRUE(Serve([this] { return mPlugin->EditorSize() == kOneAndAHalf; }))
      << "the editor ended at " << mPlugin->EditorSize().value_or(HostEditorSize{}).width << " x "
      << mPlugin->EditorSize().value_or(HostEditorSize{}).height;

  const std::vector<HostEditorSize> requests = mPlugin->ResizeRequests();
  ASSERT_GT(requests.size(), requestsBefore);
  EXPECT_EQ(requests.back(), kOneAndAHalf);
  EXPECT_EQ(mWindow->Size(), kOneAndAHalf);
  EXPECT_EQ(HostWindowSizeOnServer(), kOneAndAHalf);

  mPlugin->CloseEditor();
  EXPECT_EQ(PreferenceFile(), "1.5000\n");

  ASSERT_NO_FATAL_FAILURE(OpenEditor());
  EXPECT_EQ(mPlugin->EditorSize(), kOneAndAHalf);
  EXPECT_EQ(HostWindowSizeOnServer(), kOneAndAHalf);
}

TEST_P(BuiltEditor, OpeningAndClosingFiftyTimesLeavesNothingBehind)
{
  const host::HostRunLoopCounts registered = mPlugin->RunLoopRegistrations();
  const auto fdsBefore = std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
  for (int round = 0; round < 50; ++round)
  {
    SCOPED_TRACE(round);
    std::string error;
    ASSERT_TRUE(mPlugin->OpenEditor(mWindow->Id(), std::nullopt, error)) << error;
    if (round == 0)
    {
      EXPECT_NE(mPlugin->RunLoopRegistrations(), registered);
      XSync(mDisplay, False);
      EXPECT_EQ(HostChildren().size(), 1u);
    }
    mPlugin->RunEventLoop(5ms);
    mPlugin->CloseEditor();
    ASSERT_EQ(mPlugin->RunLoopRegistrations(), registered);
  }
  XSync(mDisplay, False);
  EXPECT_TRUE(HostChildren().empty());
  // X connections are descriptors: none may stay open.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}), fdsBefore);
}

// Host automation keeps arriving with every block on an audio thread while the editor opens,
// shows the changes and closes again: nothing crashes or races, and the last value holds.
TEST_P(BuiltEditor, ClosingTheEditorWhileAutomationRunsIsSafe)
{
  constexpr int kBlock = 256;
  std::string error;
  host::ProcessSetup setup;
  setup.maxBlockSize = kBlock;
  ASSERT_TRUE(mPlugin->Start(setup, error)) << error;
  std::atomic<bool> running{true};
  std::atomic<int> processed{0};
  std::atomic<double> lastSent{0.0};
  std::thread audio(
      [&]
      {
        std::vector<double> left(kBlock, 0.25);
        std::vector<double> right(kBlock, -0.25);
        std::vector<double*> channels{left.data(), right.data()};
        for (int block = 0; running.load(); ++block)
        {
          const double value = (block % 50) / 50.0;
          if (mPlugin->Process(channels, kBlock, {host::HostParamChange{0, block % kBlock, value}}))
          {
            lastSent = value;
            ++processed;
          }
          std::this_thread::sleep_for(1ms);
        }
      });
  for (int round = 0; round < 10; ++round)
  {
    SCOPED_TRACE(round);
    ASSERT_TRUE(mPlugin->OpenEditor(mWindow->Id(), std::nullopt, error)) << error;
    mPlugin->RunEventLoop(40ms);
    mPlugin->CloseEditor();
    mPlugin->RunEventLoop(5ms);
  }
  running = false;
  audio.join();
  EXPECT_GT(processed.load(), 0);
  mPlugin->Idle();
  EXPECT_NEAR(mPlugin->GetParameter(0), lastSent.load(), 1e-9);
  mPlugin->Stop();
}

TEST_P(BuiltEditor, TheHostsScreenshotIsTheOffScreenRendering)
{
  struct Case
  {
    const char* preference;
    double scale;
    HostEditorSize size;
  };
  const Case cases[] = {{nullptr, 1.0, kFullSize}, {"1.5000\n", 1.5, kOneAndAHalf}};
  MovePointerAway();
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.scale);
    if (c.preference)
    {
      const std::filesystem::path folder = mConfig / "Corvane Audio" / "Preferences";
      std::filesystem::create_directories(folder);
      std::ofstream(folder / "velmora-display-scale.txt") << c.preference;
    }
    const PixelImage expected = OffScreenRendering(c.scale, mConfig / "offscreen.png");
    ASSERT_EQ(expected.width, c.size.width);
    ASSERT_EQ(expected.height, c.size.height);

    ASSERT_NO_FATAL_FAILURE(OpenEditor());
    ASSERT_EQ(mPlugin->EditorSize(), c.size);
    EXPECT_EQ(ScreenshotDifference(expected), 0u);
    mPlugin->CloseEditor();
  }
}

// While a knob is dragged the editor shows its name and the value the host then reads, as the
// editor drawn off-screen with that knob held shows it; 1.5 s after the release, with the mouse
// gone, the label is gone too. The drags move "Threshold" by exactly 7.5 dB.
TEST_P(BuiltEditor, DraggingAKnobShowsItsValueAndTheLabelGoesAfterTheRelease)
{
  struct Case
  {
    const char* preference;
    int scale;
  };
  for (const Case c : {Case{"1.0000\n", 1}, Case{"2.0000\n", 2}})
  {
    SCOPED_TRACE(c.scale);
    StoreScale(c.preference);
    ASSERT_NO_FATAL_FAILURE(OpenEditor());
    ASSERT_EQ(mPlugin->EditorSize(),
              (HostEditorSize{kFullSize.width * c.scale, kFullSize.height * c.scale}));
    const double before = mPlugin->GetParameter(kThresholdId);
    const Point knob{kKnobCentreX * c.scale, kKnobCentreY * c.scale};
    Button(1, true, knob);
    MoveInSteps(knob, {knob.x, knob.y + 32 * c.scale});
    ASSERT_TRUE(Serve([&] { return mPlugin->GetParameter(kThresholdId) != before; }));
    mPlugin->TakeEdits();

    const std::string shown =
        mPlugin->TextFromValue(kThresholdId, mPlugin->GetParameter(kThresholdId));
    EXPECT_EQ(shown.substr(0, 4), "-7.5") << shown;
    const std::string setting = "--set Threshold=" + shown.substr(0, 4);
    const PixelImage held =
        OffScreenRendering(c.scale, mConfig / "held.png", setting + " --held Threshold");
    const PixelImage released = OffScreenRendering(c.scale, mConfig / "released.png", setting);
    ASSERT_EQ(held.width, kFullSize.width * c.scale);
    ASSERT_NE(DifferingPixels(held, released), 0u) << "the held rendering shows no label";
    EXPECT_EQ(ScreenshotDifference(held), 0u) << "while held";

    XTestFakeButtonEvent(mDisplay, 1, False, CurrentTime);
    Settle();
    MovePointerAway();
    ServeFor(1500ms);
    EXPECT_EQ(DifferingPixels(Screenshot(), released), 0u) << "still there 1.5 s after release";
    mPlugin->CloseEditor();
    ASSERT_TRUE(mPlugin->SetParameter(kThresholdId, before));
  }
}

INSTANTIATE_TEST_SUITE_P(BothFormats, BuiltEditor,
                         ::testing::Values(VELMORA_VST3_BUNDLE_PATH, VELMORA_CLAP_MODULE),
                         [](const ::testing::TestParamInfo<const char*>& info)
                         { return std::string(info.param).ends_with(".clap") ? "CLAP" : "VST3"; });

// The VST3 editor in a host that offers its run loop only once an editor exists: through the
// view's frame and the component handler as Ardour does, or through the handler alone; timers
// there wait for the window system's events. The demo plays in real time meanwhile.
class Vst3EditorOnlyRunLoop : public BuiltEditor
{
protected:
  static constexpr int kBlock = 512;
  static constexpr uint32_t kOversamplingId = 11;
  // The oversampling switch's centre, in editor pixels at 100 %.
  static constexpr Point kSwitchCentre{480 + 14, 330 + 14};

  std::unique_ptr<host::HostedPlugin> LoadPlugin(std::string& error) override
  {
    std::shared_ptr<host::vst3::VST3Module> module =
        host::vst3::VST3Module::Load(VELMORA_VST3_BUNDLE_PATH, error);
    if (!module)
      return nullptr;
    const auto offer = std::string(GetParam()) == "handler"
                           ? host::vst3::RunLoopOffer::HandlerOnly
                           : host::vst3::RunLoopOffer::FrameAndHandler;
    auto plugin =
        host::vst3::VST3HostedPlugin::Create(std::move(module), "Velmora Test Host", error, offer);
    mVst3 = plugin.get();
    return plugin;
  }

  void TearDown() override
  {
    if (mAudio)
      mAudio->Stop();
    mAudio.reset();
    BuiltEditor::TearDown();
  }

  void PlayDemo()
  {
    const tools::StereoBuffer demo = tools::MakeDemoSignal(48000.0);
    host::AudioData audio;
    audio.sampleRate = demo.sampleRate;
    audio.channels = {demo.left, demo.right};
    host::ProcessSetup setup;
    setup.sampleRate = audio.sampleRate;
    setup.maxBlockSize = kBlock;
    std::string error;
    ASSERT_TRUE(mPlugin->Start(setup, error)) << error;
    mAudio = std::make_unique<host::RealTimeAudio>(*mPlugin, std::move(audio), kBlock);
    mAudio->Start();
  }

  // Pixels inside the four meters that differ between two screenshots at 100 %.
  static size_t MeterPixelsDiffering(const PixelImage& a, const PixelImage& b)
  {
    struct Area
    {
      int left, top, right, bottom;
    };
    const Area meters[] = {{28, 26, 187, 93}, {470, 26, 630, 93}};
    if (a.width != kFullSize.width || b.width != kFullSize.width || a.height != b.height)
      return 0;
    size_t differing = 0;
    for (const Area& m : meters)
    {
      for (int y = m.top; y < m.bottom; ++y)
      {
        for (int x = m.left; x < m.right; ++x)
        {
          const auto i = static_cast<size_t>(y * a.width + x);
          differing += a.rgb[i] != b.rgb[i];
        }
      }
    }
    return differing;
  }

  int LatencyRestarts() const
  {
    const auto restarts = mVst3->Handler().Restarts();
    return static_cast<int>(std::count_if(restarts.begin(), restarts.end(),
                                          [](const auto& r) {
                                            return r.onMainThread &&
                                                   (r.flags & Steinberg::Vst::kLatencyChanged) != 0;
                                          }));
  }

  void Click(Point at)
  {
    const Point screen = OnScreen(at.x, at.y);
    XTestFakeMotionEvent(mDisplay, -1, screen.x, screen.y, CurrentTime);
    XTestFakeButtonEvent(mDisplay, 1, True, CurrentTime);
    XTestFakeButtonEvent(mDisplay, 1, False, CurrentTime);
    XSync(mDisplay, False);
  }

  host::vst3::VST3HostedPlugin* mVst3 = nullptr;
  std::unique_ptr<host::RealTimeAudio> mAudio;
};

TEST_P(Vst3EditorOnlyRunLoop, MetersMoveAndLatencyReportsArriveWhileTheEditorIsOpen)
{
  ASSERT_NO_FATAL_FAILURE(PlayDemo());
  for (int round = 0; round < 2; ++round)
  {
    SCOPED_TRACE(round == 0 ? "first opening" : "reopened");
    ASSERT_NO_FATAL_FAILURE(OpenEditor());
    MovePointerAway();
    ServeFor(700ms);
    const PixelImage before = Screenshot();
    ServeFor(500ms);
    // A slow machine (or a sanitizer build) may need longer than half a second for a change.
    size_t moved = MeterPixelsDiffering(before, Screenshot());
    for (const auto end = std::chrono::steady_clock::now() + kPatience;
         moved == 0 && std::chrono::steady_clock::now() < end;)
    {
      ServeFor(100ms);
      moved = MeterPixelsDiffering(before, Screenshot());
    }
    EXPECT_GT(moved, 0u) << "the meters stood still";

    // The switch flips "Oversampling"; the new latency reaches the host from the idle step.
    mVst3->Handler().ClearRestarts();
    const bool oversampling = mPlugin->GetParameter(kOversamplingId) >= 0.5;
    Click(kSwitchCentre);
    const auto clicked = std::chrono::steady_clock::now();
    ASSERT_TRUE(Serve([this] { return LatencyRestarts() > 0; })) << "no latency report";
    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - clicked);
    EXPECT_LE(waited.count(), 100);
    EXPECT_NE(mPlugin->GetParameter(kOversamplingId) >= 0.5, oversampling);

    mPlugin->CloseEditor();
    EXPECT_EQ(mPlugin->RunLoopRegistrations(), (host::HostRunLoopCounts{0, 0}));
  }

  // With the editor closed the host's main-thread calls carry the idle step, as before.
  mVst3->Handler().ClearRestarts();
  ASSERT_TRUE(mPlugin->SetParameter(kOversamplingId,
                                    mPlugin->GetParameter(kOversamplingId) >= 0.5 ? 0 : 1));
  std::this_thread::sleep_for(100ms);
  mPlugin->GetParameter(0);
  EXPECT_EQ(LatencyRestarts(), 1);
}

INSTANTIATE_TEST_SUITE_P(Offers, Vst3EditorOnlyRunLoop, ::testing::Values("frame", "handler"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           return std::string(info.param) == "handler" ? "HandlerOnly"
                                                                       : "FrameAndHandler";
                         });

// A right-click on the "Mix" knob at 150 % in hosts that offer the parameter menu and hosts that
// do not: the menu is asked for where the host has one, at the click in window pixels, and the
// click itself never edits anything.
class BuiltEditorMenu : public BuiltEditor
{
protected:
  static constexpr uint32_t kMixId = 9;
  // The knob's centre at 150 %, in window pixels.
  static constexpr Point kMixAt{590, 476};

  std::unique_ptr<host::HostedPlugin> LoadPlugin(std::string& error) override
  {
    const std::string kind = GetParam();
    if (kind.starts_with("vst3"))
    {
      std::shared_ptr<host::vst3::VST3Module> module =
          host::vst3::VST3Module::Load(VELMORA_VST3_BUNDLE_PATH, error);
      if (!module)
        return nullptr;
      auto plugin =
          host::vst3::VST3HostedPlugin::Create(std::move(module), "Velmora Test Host", error);
      if (plugin)
        plugin->Handler().OfferContextMenus(kind == "vst3-menu");
      mVst3 = plugin.get();
      return plugin;
    }
    host::ClapHost::Options options;
    if (kind == "clap-popup")
      options.contextMenuCanPopup = true;
    else if (kind == "clap-no-popup")
      options.contextMenuCanPopup = false;
    auto plugin = host::ClapHostedPlugin::Load(VELMORA_CLAP_MODULE, error, options);
    mClap = plugin.get();
    return plugin;
  }

  host::vst3::VST3HostedPlugin* mVst3 = nullptr;
  host::ClapHostedPlugin* mClap = nullptr;
};

TEST_P(BuiltEditorMenu, RightClickOnMixAsksTheHostForItsMenuAndEditsNothing)
{
  const std::string kind = GetParam();
  StoreScale("1.5000\n");
  ASSERT_NO_FATAL_FAILURE(OpenEditor());
  ASSERT_EQ(mPlugin->EditorSize(), kOneAndAHalf);
  ASSERT_TRUE(mPlugin->SetParameter(kMixId, 0.8));
  mPlugin->Idle();
  mPlugin->TakeEdits();

  // Pressed, dragged up a long way and released with the right button, as a user might.
  Button(3, true, kMixAt);
  MoveInSteps(kMixAt, {kMixAt.x, kMixAt.y - 120});
  Button(3, false, {kMixAt.x, kMixAt.y - 120});
  const auto asked = [&]
  {
    if (kind == "vst3-menu")
      return !mVst3->Handler().MenuRequests().empty();
    if (kind == "clap-popup")
      return !mClap->Host().MenuPopups().empty();
    return false;
  };
  if (kind == "vst3-menu" || kind == "clap-popup")
    Serve([&] { return asked(); });
  ServeFor(300ms);
  EXPECT_TRUE(mPlugin->TakeEdits().empty());
  EXPECT_DOUBLE_EQ(mPlugin->GetParameter(kMixId), 0.8);

  if (kind == "vst3-menu")
  {
    const auto& requests = mVst3->Handler().MenuRequests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].view, mVst3->View());
    VST3HostContextMenu& menu = *requests[0].menu;
    EXPECT_EQ(menu.Param(), std::optional<Steinberg::Vst::ParamID>(kMixId));
    ASSERT_EQ(menu.Popups().size(), 1u);
    EXPECT_EQ(menu.Popups()[0].x, kMixAt.x);
    EXPECT_EQ(menu.Popups()[0].y, kMixAt.y);
    EXPECT_EQ(menu.ItemNames(), (std::vector<std::string>{"Reset to default", "-",
                                                          VST3HostContextMenu::kHostItemName}));

    // The user chooses the plug-in's item, then the host's.
    ASSERT_TRUE(menu.Choose("Reset to default"));
    EXPECT_EQ(mPlugin->TakeEdits(), (std::vector<HostEdit>{{HostEdit::Kind::Begin, kMixId, 0.0},
                                                           {HostEdit::Kind::Value, kMixId, 0.5},
                                                           {HostEdit::Kind::End, kMixId, 0.0}}));
    EXPECT_DOUBLE_EQ(mPlugin->GetParameter(kMixId), 0.5);
    ASSERT_TRUE(menu.Choose(VST3HostContextMenu::kHostItemName));
    EXPECT_EQ(menu.HostItemChosen(), 1);
  }
  else if (kind.starts_with("clap"))
  {
    const auto& popups = mClap->Host().MenuPopups();
    if (kind == "clap-popup")
    {
      ASSERT_EQ(popups.size(), 1u);
      EXPECT_EQ(popups[0].target.kind, clapabi::CLAP_CONTEXT_MENU_TARGET_KIND_PARAM);
      EXPECT_EQ(popups[0].target.id, kMixId);
      EXPECT_EQ(popups[0].x, kMixAt.x);
      EXPECT_EQ(popups[0].y, kMixAt.y);
    }
    else
    {
      EXPECT_TRUE(popups.empty()) << "asked a host that cannot pop a menu up";
    }
  }
  // The editor goes on working: a left drag on the knob still edits it.
  MovePointerAway();
  const double beforeDrag = mPlugin->GetParameter(kMixId);
  Drag({kMixAt.x + 5, kMixAt.y}, {kMixAt.x + 5, kMixAt.y + 30});
  EXPECT_TRUE(Serve([&] { return mPlugin->GetParameter(kMixId) < beforeDrag; }));
}

INSTANTIATE_TEST_SUITE_P(Hosts, BuiltEditorMenu,
                         ::testing::Values("vst3-menu", "vst3-no-handler3", "clap-popup",
                                           "clap-no-popup", "clap-no-menu"),
                         [](const ::testing::TestParamInfo<const char*>& info)
                         {
                           std::string name = info.param;
                           std::erase(name, '-');
                           return name;
                         });

} // namespace
} // namespace velmora::test
