// Windows names the roaming application-data folder itself, so no other folder can stand in for
// it: the run keeps the user's preference file as it found it and puts it back at the end.
#include "editor/DisplayScalePreference.h"
#include "plugin/VelmoraConfig.h"
#include "tools/snapshot/PrivateSettings.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

namespace velmora::tools
{

namespace
{

class KeptPreference final : public PrivateSettings
{
public:
  KeptPreference(std::filesystem::path path, std::optional<std::string> content)
      : mPath(std::move(path)), mContent(std::move(content))
  {
  }
  ~KeptPreference() override
  {
    std::error_code ignored;
    if (!mContent)
    {
      std::filesystem::remove(mPath, ignored);
      return;
    }
    std::ofstream out(mPath, std::ios::binary | std::ios::trunc);
    out << *mContent;
  }

private:
  std::filesystem::path mPath;
  std::optional<std::string> mContent;
};

} // namespace

std::unique_ptr<PrivateSettings> UsePrivateSettings()
{
  const std::string path = PreferencePath(kProductId);
  if (path.empty())
    return nullptr;
  std::error_code error;
  if (!std::filesystem::exists(path, error))
    return error ? nullptr : std::make_unique<KeptPreference>(path, std::nullopt);
  std::ifstream in(path, std::ios::binary);
  std::string content{std::istreambuf_iterator<char>(in), {}};
  if (!in.good() && !in.eof())
    return nullptr;
  return std::make_unique<KeptPreference>(path, std::move(content));
}

} // namespace velmora::tools
