#include "framework/platform/UserConfigFolder.h"

#include <cstdlib>

namespace iplug::platform
{

namespace
{
std::string NonEmptyEnv(const char* name)
{
  const char* value = std::getenv(name);
  return value != nullptr ? std::string(value) : std::string();
}

std::string WithTrailingSlash(std::string folder)
{
  if (!folder.empty() && folder.back() != '/')
    folder.push_back('/');
  return folder;
}
} // namespace

std::string UserConfigFolder()
{
  // The XDG base-directory rule: $XDG_CONFIG_HOME, else ~/.config.
  if (const std::string xdg = NonEmptyEnv("XDG_CONFIG_HOME"); !xdg.empty())
    return WithTrailingSlash(xdg);
  if (const std::string home = NonEmptyEnv("HOME"); !home.empty())
    return WithTrailingSlash(home) + ".config/";
  return {};
}

} // namespace iplug::platform
