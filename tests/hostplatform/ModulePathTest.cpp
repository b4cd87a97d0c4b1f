// Modules whose paths hold non-ASCII text load as any other: the host keeps paths in UTF-8 and
// hands them to the system as it expects them (UTF-16 on Windows).
#include "tools/host/HostedPluginLoader.h"
#include "tools/host/Utf8Path.h"
#include "tools/host/vst3/VST3Module.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace velmora::test
{
namespace
{

namespace fs = std::filesystem;

class ModuleInUnicodeFolder : public ::testing::Test
{
protected:
  void SetUp() override
  {
    // Of this test's own: tests and test programs of several builds may run at once.
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    mFolder = fs::temp_directory_path() /
              host::PathFromUtf8("velmora-Gr\xC3\xBC\xC3\x9F"
                                 "e-\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88-" +
                                 name + "-" + std::to_string(std::random_device()()));
    fs::remove_all(mFolder);
    fs::create_directories(mFolder);
    fs::copy(VELMORA_VST3_BUNDLE_PATH, mFolder / "velmora.vst3", fs::copy_options::recursive);
    fs::copy_file(VELMORA_CLAP_MODULE, mFolder / "velmora.clap");
  }

  void TearDown() override { fs::remove_all(mFolder); }

  std::string Utf8(const fs::path& inFolder) const
  {
    return host::Utf8FromPath(mFolder / inFolder);
  }

  fs::path mFolder;
};

TEST_F(ModuleInUnicodeFolder, LoadsAsABundleTheBinaryInsideAndACLAPFile)
{
  const std::string bundle = Utf8("velmora.vst3");
  const std::string binary = host::vst3::ResolveVst3Binary(bundle);
  ASSERT_NE(binary, bundle);
  for (const std::string& path : {bundle, bundle + "/", binary, Utf8("velmora.clap")})
  {
    std::string error;
    const std::unique_ptr<host::HostedPlugin> plugin = host::LoadHostedPlugin(path, error);
    ASSERT_TRUE(plugin) << path << ": " << error;
    EXPECT_FALSE(plugin->Parameters().empty()) << path;
  }
}

TEST_F(ModuleInUnicodeFolder, AMissingModuleIsNamedInTheError)
{
  for (const std::string& path : {Utf8("missing.vst3"), Utf8("missing.clap")})
  {
    std::string error;
    EXPECT_FALSE(host::LoadHostedPlugin(path, error));
    EXPECT_NE(error.find("missing"), std::string::npos) << error;
  }
}

} // namespace
} // namespace velmora::test
