// `velmora-host editor` run as a user runs it, against a private X server.
#include "tests/support/XvfbSession.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

namespace velmora::test
{
namespace
{

struct CommandResult
{
  int exitCode = -1;
  std::string out;
  std::string err;
};

class EditorCommand : public ::testing::Test
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
    dir = std::filesystem::temp_directory_path() /
          ("velmora-editor-test-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }

  // Runs the host with the words after its name; environment words go in front.
  CommandResult Run(const std::string& args, const std::string& environment = "") const
  {
    const std::filesystem::path errPath = dir / "stderr.txt";
    const std::string command = environment + " '" + std::string(VELMORA_HOST_PATH) + "' " + args +
                                " 2>'" + errPath.string() + "'";
    CommandResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
      return result;
    std::array<char, 4096> buffer{};
    size_t n = 0;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
      result.out.append(buffer.data(), n);
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(errPath);
    result.err.assign(std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>());
    return result;
  }

  static XvfbSession* sXvfb;
  std::filesystem::path dir;
};

XvfbSession* EditorCommand::sXvfb = nullptr;

struct FailureCase
{
  const char* label;
  std::string args;
  std::string environment;
  const char* message;
};

TEST_F(EditorCommand, FailsWithAMessageAndANonZeroExit)
{
  const std::string vst3 = std::string("'") + VELMORA_VST3_BUNDLE_PATH + "'";
  const std::string clap = std::string("'") + VELMORA_CLAP_MODULE + "'";
  const std::string fake = std::string("'") + VELMORA_FAKE_EDITOR_MODULE + "'";
  const FailureCase cases[] = {
      {"no module", "editor", "", "expects one module"},
      {"two modules", "editor " + vst3 + " " + clap, "", "expects one module"},
      {"scale not a number", "editor " + vst3 + " --scale big", "", "--scale"},
      {"scale too small", "editor " + vst3 + " --scale 0.1", "", "--scale"},
      {"scale too large", "editor " + vst3 + " --scale 5", "", "--scale"},
      {"negative delay", "editor " + vst3 + " --after -1", "", "--after"},
      {"delay without value", "editor " + vst3 + " --after", "", "needs a value"},
      {"negative close delay", "editor " + vst3 + " --close-after -1", "", "--close-after"},
      {"unknown option", "editor " + vst3 + " --fullscreen 1", "", "unknown option"},
      {"missing input", "editor " + vst3 + " --in /nonexistent.wav", "", "nonexistent"},
      {"not a module", "editor /tmp/nothing.txt", "", "cannot tell the plug-in format"},
      {"no display", "editor " + clap, "env -u DISPLAY", "DISPLAY is not set"},
      {"unreachable display", "editor " + clap, "DISPLAY=:9999", "cannot open the X display"},
      {"module without editor", "editor " + fake + " --screenshot " + (dir / "a.png").string(),
       "FAKE_EDITOR_ABSENT=1", "no editor"},
      {"unknown host to copy", "editor " + vst3 + " --host-like reaper", "", "--host-like"},
      {"Ardour's ways for CLAP", "editor " + clap + " --host-like ardour", "", "VST3 modules only"},
  };
  for (const FailureCase& c : cases)
  {
    SCOPED_TRACE(c.label);
    const CommandResult r = Run(c.args, c.environment);
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty()) << r.out;
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "a.png"));
}

// The editor of each built module shows in the host's window at the host's scale, with its
// display-scale preference kept in the test's folder; also when the host offers its run loop
// only to the editor, as Ardour does.
TEST_F(EditorCommand, ShowsTheEditorAndSavesItsPicture)
{
  const struct
  {
    const char* module;
    const char* scale;
    const char* size;
    const char* options;
  } cases[] = {{VELMORA_VST3_BUNDLE_PATH, "1", "650 x 400", ""},
               {VELMORA_CLAP_MODULE, "2", "1300 x 800", ""},
               {VELMORA_VST3_BUNDLE_PATH, "1", "650 x 400", " --host-like ardour"}};
  for (const auto& c : cases)
  {
    SCOPED_TRACE(std::string(c.module) + c.options);
    const std::filesystem::path shot = dir / "shot.png";
    const CommandResult r = Run(std::string("editor '") + c.module + "' --scale " + c.scale +
                                    c.options + " --after 0.2 --screenshot '" + shot.string() + "'",
                                "XDG_CONFIG_HOME='" + dir.string() + "'");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("wrote " + shot.string() + ": " + c.size), std::string::npos) << r.out;
    EXPECT_TRUE(std::filesystem::exists(shot));
    std::filesystem::remove(shot);
  }
}

struct EndToEndCase
{
  const char* label;
  const char* options;
  int width; // after the plug-in's resize request
  int height;
};

// The whole path through the stand-in module: the window is sized to the editor, follows the
// editor's resize request, the edit reported from the audio thread's blocks is printed as the
// module writes it, and the screenshot holds the editor's window at its final size.
TEST_F(EditorCommand, RunsAnEditorEndToEnd)
{
  const EndToEndCase cases[] = {
      {"host scale 1", "", 300, 150},
      {"host scale 2", "--scale 2", 600, 300},
  };
  for (const EndToEndCase& c : cases)
  {
    SCOPED_TRACE(c.label);
    const std::filesystem::path shot = dir / "shot.png";
    const CommandResult r = Run(std::string("editor '") + VELMORA_FAKE_EDITOR_MODULE + "' " +
                                c.options + " --screenshot '" + shot.string() + "' --after 1");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("Drive: 7.5 dB\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("wrote " + shot.string()), std::string::npos) << r.out;

    cairo_surface_t* image = cairo_image_surface_create_from_png(shot.c_str());
    ASSERT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(image), c.width);
    EXPECT_EQ(cairo_image_surface_get_height(image), c.height);
    const unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    for (const auto& [x, y] : {std::pair{1, 1}, std::pair{c.width - 2, c.height - 2}})
    {
      const uint32_t pixel = reinterpret_cast<const uint32_t*>(data + y * stride)[x] & 0xFFFFFF;
      EXPECT_EQ(pixel, 0x30A050u) << "at " << x << "," << y;
    }
    cairo_surface_destroy(image);
    std::filesystem::remove(shot);
  }
}

// With --print-gestures the edit is printed with its begin and end; --close-after closes the
// window as a user would, and the command ends normally.
TEST_F(EditorCommand, PrintsGesturesAndClosesAfterTheDelay)
{
  const CommandResult r = Run(std::string("editor '") + VELMORA_FAKE_EDITOR_MODULE +
                              "' --print-gestures --close-after 1.5");
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("begin Drive\nDrive: 7.5 dB\nend Drive\n"), std::string::npos) << r.out;
}

} // namespace
} // namespace velmora::test
