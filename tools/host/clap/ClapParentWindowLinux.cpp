#include "tools/host/clap/ClapParentWindow.h"

namespace velmora::host
{

using namespace clapabi;

clap_window ClapParentWindow(NativeWindow parent)
{
  clap_window window{};
  window.api = CLAP_WINDOW_API_X11;
  window.x11 = static_cast<clap_xwnd>(parent);
  return window;
}

} // namespace velmora::host
