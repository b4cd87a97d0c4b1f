#include "tests/resampler/AllocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace
{
std::atomic<long> gAllocations{0};
} // namespace

// Counts every allocation. Kept in a file of its own, away from any code that deletes, so the
// compiler never sees a malloc meet an operator delete.
void* operator new(std::size_t size)
{
  gAllocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size))
    return p;
  throw std::bad_alloc();
}

void operator delete(void* p) noexcept
{
  std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
  std::free(p);
}

namespace velmora::test
{

long AllocationCount()
{
  return gAllocations.load(std::memory_order_relaxed);
}

} // namespace velmora::test
