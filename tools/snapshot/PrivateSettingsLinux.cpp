// On Linux the run gets a settings folder of its own, named by XDG_CONFIG_HOME.
#include "tools/snapshot/PrivateSettings.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace velmora::tools
{

namespace
{

class PrivateSettingsFolder final : public PrivateSettings
{
public:
  explicit PrivateSettingsFolder(std::filesystem::path path) : mPath(std::move(path)) {}
  ~PrivateSettingsFolder() override
  {
    std::error_code ignored;
    std::filesystem::remove_all(mPath, ignored);
  }

private:
  std::filesystem::path mPath;
};

} // namespace

std::unique_ptr<PrivateSettings> UsePrivateSettings()
{
  std::string pattern = std::filesystem::temp_directory_path() / "velmora-snapshot-XXXXXX";
  if (!::mkdtemp(pattern.data()))
    return nullptr;
  auto folder = std::make_unique<PrivateSettingsFolder>(pattern);
  if (::setenv("XDG_CONFIG_HOME", pattern.c_str(), 1) != 0)
    return nullptr;
  return folder;
}

} // namespace velmora::tools
