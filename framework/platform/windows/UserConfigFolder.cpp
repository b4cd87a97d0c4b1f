#include "framework/platform/UserConfigFolder.h"

#include <shlobj.h>
#include <windows.h>

namespace iplug::platform
{

// The user's roaming application-data folder, where Windows programs keep per-user settings.
std::string UserConfigFolder()
{
  char folder[MAX_PATH] = {};
  if (SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder) != S_OK ||
      folder[0] == '\0')
    return {};
  std::string path = folder;
  if (path.back() != '\\' && path.back() != '/')
    path.push_back('\\');
  return path;
}

} // namespace iplug::platform
