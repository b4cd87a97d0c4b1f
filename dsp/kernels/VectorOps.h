#pragma once

// Included only by the kernel sources, which are compiled once per instruction set with
// VELMORA_KERNEL_ISA naming that set. Everything here lives in that set's own namespace and uses
// compiler built-ins rather than inline library functions, so no copy built for a wider set can
// stand in for the baseline's at link time.

#include <immintrin.h>

namespace velmora::VELMORA_KERNEL_ISA
{

#if defined(__AVX512F__)
inline constexpr int kLanes = 8;
#elif defined(__AVX2__)
inline constexpr int kLanes = 4;
#else
inline constexpr int kLanes = 2;
#endif

using Vec = double __attribute__((vector_size(kLanes * sizeof(double))));
using Mask = long long __attribute__((vector_size(kLanes * sizeof(double))));

inline constexpr double kLargestFinite = 1.7976931348623157e308;

inline Vec Load(const double* p)
{
  Vec v;
  __builtin_memcpy(&v, p, sizeof v);
  return v;
}

inline void Store(double* p, Vec v)
{
  __builtin_memcpy(p, &v, sizeof v);
}

inline Vec Splat(double x)
{
#if defined(__AVX512F__)
  return reinterpret_cast<Vec>(_mm512_set1_pd(x));
#elif defined(__AVX2__)
  return reinterpret_cast<Vec>(_mm256_set1_pd(x));
#else
  return reinterpret_cast<Vec>(_mm_set1_pd(x));
#endif
}

inline Vec Abs(Vec v)
{
  const Mask noSign = Mask{} + 0x7fffffffffffffffLL;
  return reinterpret_cast<Vec>(reinterpret_cast<Mask>(v) & noSign);
}

// True for finite lanes; NaN fails the comparison.
inline Mask IsFinite(Vec v)
{
  return Abs(v) <= Splat(kLargestFinite);
}

inline bool AnyLane(Mask m)
{
#if defined(__AVX512F__)
  return _mm512_test_epi64_mask(reinterpret_cast<__m512i>(m), reinterpret_cast<__m512i>(m)) != 0;
#elif defined(__AVX2__)
  return _mm256_movemask_pd(reinterpret_cast<__m256d>(m)) != 0;
#else
  return _mm_movemask_pd(reinterpret_cast<__m128d>(m)) != 0;
#endif
}

// acc + a * b, fused where the instruction set has it.
inline Vec MulAdd(Vec a, Vec b, Vec acc)
{
#if defined(__AVX512F__)
  return reinterpret_cast<Vec>(_mm512_fmadd_pd(
      reinterpret_cast<__m512d>(a), reinterpret_cast<__m512d>(b), reinterpret_cast<__m512d>(acc)));
#elif defined(__FMA__)
  return reinterpret_cast<Vec>(_mm256_fmadd_pd(
      reinterpret_cast<__m256d>(a), reinterpret_cast<__m256d>(b), reinterpret_cast<__m256d>(acc)));
#else
  return acc + a * b;
#endif
}

inline double MulAdd(double a, double b, double acc)
{
#if defined(__FMA__)
  return __builtin_fma(a, b, acc);
#else
  return acc + a * b;
#endif
}

} // namespace velmora::VELMORA_KERNEL_ISA
