#include "dsp/kernels/IsaKernels.h"
#include "dsp/kernels/VectorOps.h"

namespace velmora::VELMORA_KERNEL_ISA
{
namespace
{

// One step of followers side by side, as AttRelEnvelope::run steps one. Both products are formed
// before the comparison is known, which shortens the chain from one level to the next; the one
// kept is the scalar step's own product.
template <typename V>
V Step(V level, V x, V attack, V release)
{
  using M = decltype(x > level);
  const M noSign = M{} + 0x7fffffffffffffffLL;
  x = reinterpret_cast<V>(reinterpret_cast<M>(x) & noSign);
  x = x <= kLargestFinite ? x : V{};
  const V distance = level - x;
  const V rising = attack * distance;
  const V falling = release * distance;
  return x + (x > level ? rising : falling);
}

} // namespace

void FollowLevels(const double* const* sources, int count, const double* attackCoefs,
                  const double* releaseCoefs, double* levels)
{
  const double* const a = sources[0];
  const double* const b = sources[1];
  const double* const c = sources[2];
  const double* const d = sources[3];
#if defined(__AVX2__)
  // All four in one register.
  using Quad = double __attribute__((vector_size(4 * sizeof(double))));
  Quad attack;
  Quad release;
  Quad level;
  __builtin_memcpy(&attack, attackCoefs, sizeof attack);
  __builtin_memcpy(&release, releaseCoefs, sizeof release);
  __builtin_memcpy(&level, levels, sizeof level);
  for (int i = 0; i < count; ++i)
    level = Step(level, Quad{a[i], b[i], c[i], d[i]}, attack, release);
  __builtin_memcpy(levels, &level, sizeof level);
#else
  // Two pairs, one register each.
  const Vec attackAB = Load(attackCoefs);
  const Vec attackCD = Load(attackCoefs + 2);
  const Vec releaseAB = Load(releaseCoefs);
  const Vec releaseCD = Load(releaseCoefs + 2);
  Vec levelAB = Load(levels);
  Vec levelCD = Load(levels + 2);
  for (int i = 0; i < count; ++i)
  {
    levelAB = Step(levelAB, Vec{a[i], b[i]}, attackAB, releaseAB);
    levelCD = Step(levelCD, Vec{c[i], d[i]}, attackCD, releaseCD);
  }
  Store(levels, levelAB);
  Store(levels + 2, levelCD);
#endif
}

} // namespace velmora::VELMORA_KERNEL_ISA
