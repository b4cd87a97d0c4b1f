#pragma once

namespace velmora::test
{

// Heap allocations made through operator new in this test binary so far.
long AllocationCount();

} // namespace velmora::test
