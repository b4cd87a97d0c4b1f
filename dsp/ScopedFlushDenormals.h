#pragma once

#include <xmmintrin.h>

namespace velmora
{

// Sets flush-to-zero and denormals-are-zero in the SSE control register for its lifetime and
// puts back the register as it found it, whichever way the scope is left.
class ScopedFlushDenormals
{
public:
  static constexpr unsigned int kFtzDazMask = 0x8040;

  ScopedFlushDenormals() : mSaved(_mm_getcsr()) { _mm_setcsr(mSaved | kFtzDazMask); }
  ~ScopedFlushDenormals() { _mm_setcsr(mSaved); }
  ScopedFlushDenormals(const ScopedFlushDenormals&) = delete;
  ScopedFlushDenormals& operator=(const ScopedFlushDenormals&) = delete;

private:
  unsigned int mSaved;
};

} // namespace velmora
