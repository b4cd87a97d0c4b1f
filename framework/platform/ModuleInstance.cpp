#include "framework/platform/ModuleInstance.h"

#include <atomic>

namespace iplug::platform
{

namespace
{
// Written by the module's entry routine, which may run on any thread that attaches.
std::atomic<void*> gModuleInstance{nullptr};
} // namespace

void SetModuleInstance(void* handle)
{
  gModuleInstance.store(handle, std::memory_order_release);
}

void* GetModuleInstance()
{
  return gModuleInstance.load(std::memory_order_acquire);
}

} // namespace iplug::platform
