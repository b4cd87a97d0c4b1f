// velmora-host.exe's editor command under Wine, on a private X server, driven by real pointer
// input through XTest as a user drives it: each Windows DLL's editor opens at its size and shows
// what the editor draws off-screen, its knob, switch and corner work and reach the host, the
// scale is stored in the prefix and comes back, Wine's DPI scales the editor, and closing the
// window in the middle of a drag ends the edit at the host.
// Run from the Windows build's tests: --host, --vst3, --clap, --snapshot and --out name the
// Windows host, the two DLLs, the Windows snapshot tool and a folder for the pictures; WINEPREFIX
// names the prefix.
// GoogleTest comes before Xlib, whose macros (None, Bool, ...) would clash with it.
#include <gtest/gtest.h>

#include "tests/support/PixelImage.h"
#include "tests/support/XvfbSession.h"
#include "tests/winewindow/WineProcess.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace velmora::test
{
namespace
{

using namespace std::chrono_literals;
namespace fs = std::filesystem;

std::map<std::string, std::string> gPaths; // "host", "vst3", "clap", "snapshot", "out"

// Generous: Wine starts slowly on a busy machine.
constexpr auto kStartPatience = 60s;
constexpr auto kPatience = 15s;
// Editor pixels at 100 %: the Threshold knob's centre, the oversampling switch's centre and a
// point on the corner control.
constexpr int kKnobX = 24 + 32;
constexpr int kKnobY = 152 + 32;
constexpr int kSwitchX = 480 + 14;
constexpr int kSwitchY = 330 + 14;
constexpr int kCornerX = 640;
constexpr int kCornerY = 390;

struct Size
{
  int width = 0;
  int height = 0;
  bool operator==(const Size&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Size& size)
{
  return out << size.width << " x " << size.height;
}

bool Contains(const std::string& text, const std::string& part)
{
  return text.find(part) != std::string::npos;
}

bool StartsWith(const std::string& text, const std::string& start)
{
  return text.rfind(start, 0) == 0;
}

class WineEditor : public ::testing::TestWithParam<const char*>
{
protected:
  static void SetUpTestSuite() { sXvfb = new XvfbSession(); }
  static void TearDownTestSuite()
  {
    // Wine's desktop process holds the display: it goes first.
    std::system("wineserver --wait");
    delete sXvfb;
    sXvfb = nullptr;
  }

  void SetUp() override
  {
    ASSERT_TRUE(sXvfb->Running()) << "Xvfb did not start";
    for (const char* key : {"host", "vst3", "clap", "snapshot", "out"})
      ASSERT_FALSE(gPaths[key].empty()) << "--" << key << " is missing";
    const char* prefix = std::getenv("WINEPREFIX");
    ASSERT_TRUE(prefix && *prefix) << "WINEPREFIX is not set";
    mPrefix = prefix;
    mOut = fs::path(gPaths["out"]);
    fs::create_directories(mOut);
    mDisplay = XOpenDisplay(nullptr);
    ASSERT_NE(mDisplay, nullptr);
    ASSERT_NO_FATAL_FAILURE(WriteSilence(mOut / "silence.wav"));
    MovePointerAway();
  }

  void TearDown() override
  {
    // The prefix's other window tests expect the editor at 100 %.
    if (!mPrefix.empty())
      fs::remove(PreferenceFile());
    if (mDisplay)
      XCloseDisplay(mDisplay);
  }

  std::string Module() const { return gPaths[GetParam()]; }
  std::string Format() const { return std::string(GetParam()) == "vst3" ? "VST3" : "CLAP"; }
  std::string Title() const { return "Velmora \u2013 " + Format(); }
  // A name for this module's files in the output folder.
  fs::path OutFile(const std::string& name) const { return mOut / (GetParam() + ("-" + name)); }

  // One second of stereo silence: the meters stay dark, the editor at rest.
  static void WriteSilence(const fs::path& path)
  {
    constexpr uint32_t kRate = 48000;
    constexpr uint32_t kBytes = kRate * 2 * 2;
    std::ofstream out(path, std::ios::binary);
    const auto u32 = [&](uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    const auto u16 = [&](uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    out.write("RIFF", 4);
    u32(36 + kBytes);
    out.write("WAVEfmt ", 8);
    u32(16);
    u16(1);
    u16(2);
    u32(kRate);
    u32(kRate * 4);
    u16(4);
    u16(16);
    out.write("data", 4);
    u32(kBytes);
    const std::vector<char> zeros(kBytes, 0);
    out.write(zeros.data(), static_cast<std::streamsize>(zeros.size()));
    ASSERT_TRUE(out.good());
  }

  // The display-scale preference file in the prefix's roaming application-data folder.
  fs::path PreferenceFile() const
  {
    for (const auto& user : fs::directory_iterator(mPrefix / "drive_c" / "users"))
    {
      const fs::path roaming = user.path() / "AppData" / "Roaming";
      if (user.path().filename() != "Public" && fs::exists(roaming))
        return roaming / "Corvane Audio" / "Preferences" / "velmora-display-scale.txt";
    }
    return {};
  }

  std::string ReadPreference() const
  {
    std::ifstream in(PreferenceFile(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  void StorePreference(const std::string& text) const
  {
    fs::create_directories(PreferenceFile().parent_path());
    std::ofstream(PreferenceFile(), std::ios::binary) << text;
  }

  // The host's editor command on this module with its silent input.
  std::unique_ptr<WineProcess> StartHost(const std::vector<std::string>& options,
                                         const std::string& name) const
  {
    std::vector<std::string> args{gPaths["host"], "editor", Module(), "--in",
                                  (mOut / "silence.wav").string()};
    args.insert(args.end(), options.begin(), options.end());
    return std::make_unique<WineProcess>(args, OutFile(name + ".err").string());
  }

  // The Windows snapshot tool's picture of the editor at rest, at a scale.
  PixelImage OffScreen(double scale) const
  {
    const fs::path png = OutFile("offscreen-" + std::to_string(scale) + ".png");
    WineProcess tool({gPaths["snapshot"], "--scale", std::to_string(scale), png.string()},
                     OutFile("offscreen.err").string());
    EXPECT_EQ(tool.Wait(kStartPatience), 0);
    return ReadPng(png);
  }

  std::optional<std::string> NetWmName(Window window) const
  {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* name = nullptr;
    if (XGetWindowProperty(mDisplay, window, XInternAtom(mDisplay, "_NET_WM_NAME", False), 0, 256,
                           False, AnyPropertyType, &type, &format, &count, &after,
                           &name) != Success ||
        !name)
      return std::nullopt;
    std::string text(reinterpret_cast<char*>(name), count);
    XFree(name);
    return text;
  }

  Window FindByName(Window under, const std::string& name) const
  {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (XQueryTree(mDisplay, under, &root, &parent, &children, &count) == 0)
      return 0;
    for (unsigned i = 0; i < count && !found; ++i)
    {
      XWindowAttributes attributes{};
      if (NetWmName(children[i]) == name &&
          XGetWindowAttributes(mDisplay, children[i], &attributes) &&
          attributes.map_state == IsViewable)
        found = children[i];
      else
        found = FindByName(children[i], name);
    }
    if (children)
      XFree(children);
    return found;
  }

  // The host's window on the X server once it shows; Wine gives it the Win32 window's client
  // area, the caption being the window manager's (there is none here).
  Window WaitForHostWindow(WineProcess& host)
  {
    const auto end = std::chrono::steady_clock::now() + kStartPatience;
    while (std::chrono::steady_clock::now() < end)
    {
      if (const Window window = FindByName(DefaultRootWindow(mDisplay), Title()))
      {
        mWindow = window;
        // The editor draws once it is shown: a moment for its first frame.
        std::this_thread::sleep_for(500ms);
        return window;
      }
      if (host.Ended())
        break;
      std::this_thread::sleep_for(100ms);
    }
    ADD_FAILURE() << "the host's window never showed; output:\n" << host.Output();
    return 0;
  }

  Size WindowSize() const
  {
    XWindowAttributes attributes{};
    XGetWindowAttributes(mDisplay, mWindow, &attributes);
    return {attributes.width, attributes.height};
  }

  // Waits until the window has the size.
  bool WaitForWindowSize(const Size& size)
  {
    const auto end = std::chrono::steady_clock::now() + kPatience;
    while (std::chrono::steady_clock::now() < end)
    {
      XSync(mDisplay, False);
      if (WindowSize() == size)
        return true;
      std::this_thread::sleep_for(20ms);
    }
    return false;
  }

  // Screen coordinates of a point of the window.
  std::pair<int, int> OnScreen(int x, int y) const
  {
    int screenX = 0;
    int screenY = 0;
    Window child = 0;
    XTranslateCoordinates(mDisplay, mWindow, DefaultRootWindow(mDisplay), x, y, &screenX, &screenY,
                          &child);
    return {screenX, screenY};
  }

  void MoveTo(int x, int y)
  {
    const auto [screenX, screenY] = OnScreen(x, y);
    XTestFakeMotionEvent(mDisplay, -1, screenX, screenY, CurrentTime);
    XSync(mDisplay, False);
    std::this_thread::sleep_for(15ms);
  }

  void Button(unsigned button, bool press)
  {
    XTestFakeButtonEvent(mDisplay, button, press ? True : False, CurrentTime);
    XSync(mDisplay, False);
    std::this_thread::sleep_for(30ms);
  }

  void MoveInSteps(int fromX, int fromY, int toX, int toY)
  {
    constexpr int kSteps = 20;
    for (int step = 1; step <= kSteps; ++step)
      MoveTo(fromX + (toX - fromX) * step / kSteps, fromY + (toY - fromY) * step / kSteps);
  }

  void Drag(int fromX, int fromY, int toX, int toY)
  {
    MoveTo(fromX, fromY);
    Button(1, true);
    MoveInSteps(fromX, fromY, toX, toY);
    Button(1, false);
  }

  void MovePointerAway()
  {
    XTestFakeMotionEvent(mDisplay, -1, 1590, 1190, CurrentTime);
    XSync(mDisplay, False);
  }

  // Asks the window to close as a window manager does.
  void CloseWindow()
  {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = mWindow;
    event.xclient.message_type = XInternAtom(mDisplay, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(mDisplay, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(mDisplay, mWindow, False, NoEventMask, &event);
    XSync(mDisplay, False);
  }

  // The lines printed after the first `from` lines.
  static std::vector<std::string> Since(const WineProcess& host, size_t from)
  {
    const std::vector<std::string> lines = host.Lines();
    return {lines.begin() + static_cast<std::ptrdiff_t>(std::min(from, lines.size())), lines.end()};
  }

  // Waits for an edit of the parameter to end after line `from`; the lines after `from`.
  static std::vector<std::string> WaitForEdit(WineProcess& host, size_t from,
                                              const std::string& name)
  {
    host.WaitFor(
        [&](const std::vector<std::string>& lines)
        {
          return std::find(lines.begin() +
                               static_cast<std::ptrdiff_t>(std::min(from, lines.size())),
                           lines.end(), "end " + name) != lines.end();
        },
        kPatience);
    return Since(host, from);
  }

  // Waits for a line after line `from` that starts so; the lines after `from`.
  static std::vector<std::string> WaitForStart(WineProcess& host, size_t from,
                                               const std::string& start)
  {
    host.WaitFor(
        [&](const std::vector<std::string>& lines)
        {
          return std::any_of(
              lines.begin() + static_cast<std::ptrdiff_t>(std::min(from, lines.size())),
              lines.end(), [&](const std::string& l) { return StartsWith(l, start); });
        },
        kPatience);
    return Since(host, from);
  }

  static XvfbSession* sXvfb;
  fs::path mPrefix;
  fs::path mOut;
  Display* mDisplay = nullptr;
  Window mWindow = 0;
};

XvfbSession* WineEditor::sXvfb = nullptr;

// The whole of an edit: one begin, values, one end, all of the parameter.
void ExpectOneEdit(const std::vector<std::string>& lines, const std::string& name)
{
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines.front(), "begin " + name);
  EXPECT_EQ(lines.back(), "end " + name);
  for (size_t i = 1; i + 1 < lines.size(); ++i)
    EXPECT_TRUE(StartsWith(lines[i], name + ": ")) << lines[i];
}

// Opens at 650 x 400 showing what the editor draws off-screen, pixel for pixel.
TEST_P(WineEditor, OpensAtItsSizeAndShowsTheOffScreenPicture)
{
  StorePreference("1.0000\r\n");
  const fs::path shot = OutFile("host-100.png");
  fs::remove(shot);
  const auto host = StartHost({"--screenshot", shot.string(), "--after", "2"}, "host-100");
  ASSERT_NE(WaitForHostWindow(*host), 0u);
  EXPECT_EQ(WindowSize(), (Size{650, 400}));
  EXPECT_EQ(host->Wait(kStartPatience), 0) << host->Output();
  EXPECT_TRUE(Contains(host->Output(), "wrote " + shot.string() + ": 650 x 400")) << host->Output();
  const PixelImage expected = OffScreen(1.0);
  ASSERT_EQ(expected.width, 650);
  EXPECT_EQ(DifferingPixels(ReadPng(shot), expected), 0u) << shot;
}

// A drag, a double-click and a wheel step on the Threshold knob, a click on the oversampling
// switch and a corner drag to 150 %, as the host sees them; the scale is stored and a reopen
// comes back at it; the host's picture then is the off-screen one at 150 %.
TEST_P(WineEditor, KnobSwitchAndCornerReachTheHostAndTheScaleIsKept)
{
  StorePreference("1.0000\r\n");
  {
    const auto host = StartHost({"--print-gestures"}, "host-edits");
    ASSERT_NE(WaitForHostWindow(*host), 0u);

    size_t from = host->Lines().size();
    Drag(kKnobX, kKnobY, kKnobX, kKnobY + 100);
    std::vector<std::string> edit = WaitForEdit(*host, from, "Threshold");
    SCOPED_TRACE(host->Output());
    ASSERT_NO_FATAL_FAILURE(ExpectOneEdit(edit, "Threshold"));
    const std::string dragged = edit[edit.size() - 2];
    EXPECT_NE(dragged, "Threshold: 0.0 dB");

    // Away from where the drag pressed: only the second of these presses is a double-click,
    // which ends with the reset.
    from = host->Lines().size();
    MoveTo(kKnobX + 10, kKnobY);
    for (int click = 0; click < 2; ++click)
    {
      Button(1, true);
      Button(1, false);
    }
    host->WaitFor(
        [&](const std::vector<std::string>& lines)
        {
          return lines.size() >= from + 3 && lines[lines.size() - 2] == "Threshold: 0.0 dB" &&
                 lines.back() == "end Threshold";
        },
        kPatience);
    edit = Since(*host, from);
    ASSERT_GE(edit.size(), 3u) << "the double-click edited nothing";
    EXPECT_EQ(std::vector<std::string>(edit.end() - 3, edit.end()),
              (std::vector<std::string>{"begin Threshold", "Threshold: 0.0 dB", "end Threshold"}));

    from = host->Lines().size();
    Button(5, true);
    Button(5, false);
    const std::vector<std::string> wheel = WaitForStart(*host, from, "Threshold: ");
    const auto value =
        std::find_if(wheel.begin(), wheel.end(),
                     [](const std::string& l) { return StartsWith(l, "Threshold: "); });
    ASSERT_NE(value, wheel.end()) << "the wheel moved nothing";
    EXPECT_NE(*value, "Threshold: 0.0 dB");

    from = host->Lines().size();
    MoveTo(kSwitchX, kSwitchY);
    Button(1, true);
    Button(1, false);
    const std::vector<std::string> switched = WaitForStart(*host, from, "latency: ");
    EXPECT_NE(std::find(switched.begin(), switched.end(), "Oversampling: on"), switched.end());
    const auto latency =
        std::find_if(switched.begin(), switched.end(),
                     [](const std::string& l) { return StartsWith(l, "latency: "); });
    ASSERT_NE(latency, switched.end()) << "no latency change reached the host";
    int samples = 0;
    int milliseconds = -1;
    ASSERT_EQ(std::sscanf(latency->c_str(), "latency: %d samples, %d ms", &samples, &milliseconds),
              2)
        << *latency;
    EXPECT_GT(samples, 0);
    EXPECT_LE(milliseconds, 100) << *latency;

    const Size first = WindowSize();
    EXPECT_EQ(first, (Size{650, 400}));
    Drag(kCornerX, kCornerY, kCornerX * 3 / 2, kCornerY * 3 / 2);
    EXPECT_TRUE(WaitForWindowSize({975, 600})) << "the window ended at " << WindowSize();
    MovePointerAway();
    CloseWindow();
    EXPECT_EQ(host->Wait(kPatience), 0) << host->Output();
  }
  EXPECT_EQ(ReadPreference(), "1.5000\r\n");

  const fs::path shot = OutFile("host-150.png");
  fs::remove(shot);
  const auto reopened = StartHost({"--screenshot", shot.string(), "--after", "2"}, "host-150");
  ASSERT_NE(WaitForHostWindow(*reopened), 0u);
  EXPECT_EQ(WindowSize(), (Size{975, 600}));
  EXPECT_EQ(reopened->Wait(kStartPatience), 0) << reopened->Output();
  EXPECT_TRUE(Contains(reopened->Output(), "wrote " + shot.string() + ": 975 x 600"))
      << reopened->Output();
  EXPECT_EQ(DifferingPixels(ReadPng(shot), OffScreen(1.5)), 0u) << shot;
}

// The host closes its window while the knob is still held: the edit ends at the host.
TEST_P(WineEditor, ClosingInTheMiddleOfADragEndsTheEdit)
{
  StorePreference("1.0000\r\n");
  const auto host = StartHost({"--print-gestures", "--close-after", "5"}, "host-close");
  ASSERT_NE(WaitForHostWindow(*host), 0u);
  MoveTo(kKnobX, kKnobY);
  Button(1, true);
  MoveInSteps(kKnobX, kKnobY, kKnobX, kKnobY + 60);
  ASSERT_TRUE(host->WaitForLine([](const std::string& l) { return StartsWith(l, "Threshold: "); },
                                kPatience))
      << host->Output();
  EXPECT_FALSE(host->WaitForLine([](const std::string& l) { return l == "end Threshold"; }, 0ms));
  // Held until the host has gone.
  EXPECT_EQ(host->Wait(kPatience), 0) << host->Output();
  Button(1, false);
  const std::vector<std::string> lines = host->Lines();
  ASSERT_NO_FATAL_FAILURE(ExpectOneEdit(lines, "Threshold"));
}

INSTANTIATE_TEST_SUITE_P(BothDlls, WineEditor, ::testing::Values("vst3", "clap"),
                         [](const auto& info) { return std::string(info.param); });

// With Wine's DPI at 192 (screen scale 2) each DLL's editor opens at 1300 x 800.
class WineEditorDpi : public WineEditor
{
protected:
  void SetDpi(int dpi) const
  {
    WineProcess reg({"reg", "add", "HKCU\\Control Panel\\Desktop", "/v", "LogPixels", "/t",
                     "REG_DWORD", "/d", std::to_string(dpi), "/f"},
                    OutFile("reg.err").string());
    ASSERT_EQ(reg.Wait(kStartPatience), 0);
  }
};

TEST_P(WineEditorDpi, OpensAtTwiceItsSize)
{
  StorePreference("1.0000\r\n");
  ASSERT_NO_FATAL_FAILURE(SetDpi(192));
  const fs::path shot = OutFile("host-dpi192.png");
  const auto host = StartHost({"--screenshot", shot.string(), "--after", "2"}, "host-dpi192");
  const Window window = WaitForHostWindow(*host);
  const Size size = WindowSize();
  const int exitCode = host->Wait(kStartPatience);
  const std::string output = host->Output();
  SetDpi(96);
  ASSERT_NE(window, 0u);
  EXPECT_EQ(size, (Size{1300, 800}));
  EXPECT_EQ(exitCode, 0) << output;
  EXPECT_TRUE(Contains(output, ": 1300 x 800")) << output;
}

INSTANTIATE_TEST_SUITE_P(BothDlls, WineEditorDpi, ::testing::Values("vst3", "clap"),
                         [](const auto& info) { return std::string(info.param); });

} // namespace
} // namespace velmora::test

int main(int argc, char** argv)
{
  ::testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i < argc; ++i)
  {
    const std::string arg = argv[i];
    const size_t equals = arg.find('=');
    if (arg.rfind("--", 0) == 0 && equals != std::string::npos)
      velmora::test::gPaths[arg.substr(2, equals - 2)] = arg.substr(equals + 1);
  }
  return RUN_ALL_TESTS();
}
