#include "tests/resampler/AllocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace
{
std::atomic<long> gAllocations{0};
} // namespace

// Counts every allocation. Kept in its own file so the compiler never pairs this malloc with the
// library's operator delete, which releases with free().
void* operator new(std::size_t size)
{
  gAllocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size))
    return p;
  throw std::bad_alloc();
}

namespace velmora::test
{

long AllocationCount()
{
  return gAllocations.load(std::memory_order_relaxed);
}

} // namespace velmora::test
