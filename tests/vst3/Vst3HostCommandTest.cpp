#include "tests/vst3/Vst3TestSupport.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

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

std::string ReadFile(const std::filesystem::path& path)
{
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class Vst3HostCommand : public ::testing::Test
{
protected:
  void SetUp() override
  {
    dir = std::filesystem::temp_directory_path() /
          ("velmora-host-test-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir);
  }

  void TearDown() override { std::filesystem::remove_all(dir); }

  CommandResult Run(const std::string& args) const
  {
    const std::filesystem::path errPath = dir / "stderr.txt";
    const std::string command =
        std::string("'") + VELMORA_HOST_PATH + "' " + args + " 2>'" + errPath.string() + "'";
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
    result.err = ReadFile(errPath);
    return result;
  }

  // Built by appending: GCC 12 at -O3 misreads "'" + std::string as an overlapping copy
  // (-Wrestrict).
  std::string Path(const char* name) const
  {
    std::string quoted = "'";
    quoted += (dir / name).string();
    quoted += '\'';
    return quoted;
  }

  std::filesystem::path dir;
};

TEST_F(Vst3HostCommand, InfoDescribesTheModuleAsJson)
{
  const CommandResult r = Run(std::string("info '") + kBundlePath + "'");
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("\"cid\":\"0DE7AEF2DE004E4F4372766E766D3030\""), std::string::npos);
  EXPECT_NE(r.out.find("\"title\":\"Bypass\""), std::string::npos);
  EXPECT_NE(r.out.find("\"name\":\"Factory Presets\""), std::string::npos);
}

TEST_F(Vst3HostCommand, RendersTheDemoToAWavFile)
{
  const CommandResult r = Run(std::string("render '") + kBundlePath + "' --out " + Path("out.wav") +
                              " --seconds 0.25 --block 100 --bits 32 --set Gain=12 --offline");
  EXPECT_EQ(r.exitCode, 0) << r.err;
  // 0.25 s of stereo 32-bit float at 48 kHz plus the WAV header.
  EXPECT_GE(std::filesystem::file_size(dir / "out.wav"), 12000u * 2 * 4);
}

TEST_F(Vst3HostCommand, StateSavedWithASettingLoadsBack)
{
  const CommandResult saved =
      Run(std::string("state save '") + kBundlePath + "' " + Path("s.bin") + " --set Mix=75");
  ASSERT_EQ(saved.exitCode, 0) << saved.err;
  EXPECT_EQ(std::filesystem::file_size(dir / "s.bin"), 100u);
  const CommandResult loaded =
      Run(std::string("state load '") + kBundlePath + "' " + Path("s.bin"));
  EXPECT_EQ(loaded.exitCode, 0) << loaded.err;
  EXPECT_NE(loaded.out.find("\"title\":\"Mix\",\"value\":0.75,\"text\":\"75.0\""),
            std::string::npos)
      << loaded.out;
}

struct FailureCase
{
  const char* label;
  std::string args;
  const char* message;
};

TEST_F(Vst3HostCommand, ErrorsExitNonZeroWithAMessage)
{
  {
    std::ofstream shortState(dir / "short.bin", std::ios::binary);
    shortState << "0123456789";
  }
  const std::string module = std::string("'") + kBundlePath + "'";
  const FailureCase cases[] = {
      {"no output", "render " + module, "needs --out"},
      {"unknown parameter", "render " + module + " --out " + Path("x.wav") + " --set Nope=1",
       "no parameter named \"Nope\""},
      {"unparsable value", "render " + module + " --out " + Path("x.wav") + " --set Mix=loud",
       "does not accept \"loud\""},
      {"bad bits", "render " + module + " --out " + Path("x.wav") + " --bits 16", "--bits"},
      {"bad block", "render " + module + " --out " + Path("x.wav") + " --block 0", "--block"},
      {"missing input file",
       "render " + module + " --out " + Path("x.wav") + " --in " + Path("missing.wav"),
       "cannot read"},
      {"missing module", "info " + Path("missing.vst3"), "no VST3 module"},
      {"unknown format", "info " + Path("module.txt"), "cannot tell the plug-in format"},
      {"short state", "state load " + module + " " + Path("short.bin"), "refused the state"},
      {"missing state file", "state load " + module + " " + Path("none.bin"), "cannot read"},
  };
  for (const FailureCase& c : cases)
  {
    SCOPED_TRACE(c.label);
    const CommandResult r = Run(c.args);
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
  EXPECT_NE(Run("").exitCode, 0);
  EXPECT_NE(Run("frobnicate").exitCode, 0);
}

} // namespace
} // namespace velmora::test
