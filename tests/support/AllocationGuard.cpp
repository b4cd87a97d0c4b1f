#include "tests/support/AllocationGuard.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace
{

thread_local int tForbidDepth = 0;
std::atomic<int> gViolations{0};

void Check()
{
  if (tForbidDepth > 0)
    gViolations.fetch_add(1, std::memory_order_relaxed);
}

void* Allocate(std::size_t size)
{
  Check();
  if (void* p = std::malloc(size == 0 ? 1 : size))
    return p;
  throw std::bad_alloc();
}

// Over-aligned blocks are carved out of malloc by hand, with the block's own address stored just
// before the aligned one: std::aligned_alloc is missing from the Windows C runtime.
void* AllocateAligned(std::size_t size, std::align_val_t alignment)
{
  Check();
  const auto align = std::max(static_cast<std::size_t>(alignment), alignof(void*));
  void* block = std::malloc(size + align + sizeof(void*));
  if (block == nullptr)
    throw std::bad_alloc();
  const auto start = reinterpret_cast<std::uintptr_t>(block) + sizeof(void*);
  void* aligned = reinterpret_cast<void*>((start + align - 1) / align * align);
  static_cast<void**>(aligned)[-1] = block;
  return aligned;
}

void Release(void* p)
{
  if (p == nullptr)
    return;
  Check();
  std::free(p);
}

void ReleaseAligned(void* p)
{
  if (p == nullptr)
    return;
  Check();
  std::free(static_cast<void**>(p)[-1]);
}

} // namespace

namespace velmora::test
{

ForbidAllocations::ForbidAllocations()
{
  ++tForbidDepth;
}

ForbidAllocations::~ForbidAllocations()
{
  --tForbidDepth;
}

int AllocationViolations()
{
  return gViolations.load();
}

void ClearAllocationViolations()
{
  gViolations.store(0);
}

} // namespace velmora::test

void* operator new(std::size_t size)
{
  return Allocate(size);
}
void* operator new[](std::size_t size)
{
  return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
  try
  {
    return Allocate(size);
  }
  catch (const std::bad_alloc&)
  {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
  return operator new(size, std::nothrow);
}
void* operator new(std::size_t size, std::align_val_t alignment)
{
  return AllocateAligned(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment)
{
  return AllocateAligned(size, alignment);
}
void operator delete(void* p) noexcept
{
  Release(p);
}
void operator delete[](void* p) noexcept
{
  Release(p);
}
void operator delete(void* p, std::size_t) noexcept
{
  Release(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
  Release(p);
}
void operator delete(void* p, std::align_val_t) noexcept
{
  ReleaseAligned(p);
}
void operator delete[](void* p, std::align_val_t) noexcept
{
  ReleaseAligned(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept
{
  ReleaseAligned(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept
{
  ReleaseAligned(p);
}
