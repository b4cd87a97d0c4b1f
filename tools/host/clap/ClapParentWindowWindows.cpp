#include "tools/host/clap/ClapParentWindow.h"

namespace velmora::host
{

using namespace clapabi;

clap_window ClapParentWindow(NativeWindow parent)
{
  clap_window window{};
  window.api = CLAP_WINDOW_API_WIN32;
  window.win32 = reinterpret_cast<clap_hwnd>(parent);
  return window;
}

} // namespace velmora::host
