#pragma once

// One step of level followers side by side, shared by the kernels that run them. Included only
// by kernel sources (see VectorOps.h).

#include "dsp/kernels/VectorOps.h"

namespace velmora::VELMORA_KERNEL_ISA
{

// As AttRelEnvelope::run steps one follower, lane by lane: a non-finite magnitude counts as
// silence. Both products are formed before the comparison is known, which shortens the chain from
// one level to the next; the one kept is the scalar step's own product.
template <typename V> inline V FollowerStep(V level, V sample, V attack, V release)
{
  using M = decltype(sample > level);
  const M noSign = M{} + 0x7fffffffffffffffLL;
  V x = reinterpret_cast<V>(reinterpret_cast<M>(sample) & noSign);
  x = x <= kLargestFinite ? x : V{};
  const V distance = level - x;
  const V rising = attack * distance;
  const V falling = release * distance;
  return x + (x > level ? rising : falling);
}

#if defined(__AVX2__)
// All four followers in one register.
struct FollowerLevels
{
  using Quad = double __attribute__((vector_size(4 * sizeof(double))));
  Quad attack;
  Quad release;
  Quad level;

  void Begin(const double* attackCoefs, const double* releaseCoefs, const double* levels)
  {
    __builtin_memcpy(&attack, attackCoefs, sizeof attack);
    __builtin_memcpy(&release, releaseCoefs, sizeof release);
    __builtin_memcpy(&level, levels, sizeof level);
  }
  void Step(double a, double b, double c, double d)
  {
    level = FollowerStep(level, Quad{a, b, c, d}, attack, release);
  }
  void End(double* levels) const { __builtin_memcpy(levels, &level, sizeof level); }
};
#else
// Two pairs, one register each.
struct FollowerLevels
{
  Vec attackAB, attackCD, releaseAB, releaseCD, levelAB, levelCD;

  void Begin(const double* attackCoefs, const double* releaseCoefs, const double* levels)
  {
    attackAB = Load(attackCoefs);
    attackCD = Load(attackCoefs + 2);
    releaseAB = Load(releaseCoefs);
    releaseCD = Load(releaseCoefs + 2);
    levelAB = Load(levels);
    levelCD = Load(levels + 2);
  }
  void Step(double a, double b, double c, double d)
  {
    levelAB = FollowerStep(levelAB, Vec{a, b}, attackAB, releaseAB);
    levelCD = FollowerStep(levelCD, Vec{c, d}, attackCD, releaseCD);
  }
  void End(double* levels) const
  {
    Store(levels, levelAB);
    Store(levels + 2, levelCD);
  }
};
#endif

} // namespace velmora::VELMORA_KERNEL_ISA
