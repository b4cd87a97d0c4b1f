#pragma once

namespace velmora::test
{

// While an instance lives on a thread, every heap allocation or release made on that thread is
// counted as a violation (the binary that links this replaces the global allocation functions).
class ForbidAllocations
{
public:
  ForbidAllocations();
  ~ForbidAllocations();
  ForbidAllocations(const ForbidAllocations&) = delete;
  ForbidAllocations& operator=(const ForbidAllocations&) = delete;
};

int AllocationViolations();
void ClearAllocationViolations();

} // namespace velmora::test
