#include "plugin/CurveDisplayLink.h"

namespace velmora
{

void CurveDisplayLink::Link(Control* control)
{
  const std::lock_guard lock(mLinkMutex);
  mControl.store(control, std::memory_order_release);
}

} // namespace velmora
