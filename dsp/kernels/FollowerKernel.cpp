#include "dsp/kernels/IsaKernels.h"
#include "dsp/kernels/VectorOps.h"

namespace velmora::VELMORA_KERNEL_ISA
{
namespace
{

// The four followers side by side; on the baseline the compiler splits it into two halves.
using Quad = double __attribute__((vector_size(4 * sizeof(double))));
using QuadMask = long long __attribute__((vector_size(4 * sizeof(double))));
// Written out in the loop rather than in helpers: on the baseline a function may not pass a
// vector this wide in registers.

} // namespace

void FollowLevels(const double* const* sources, int count, const double* attackCoefs,
                  const double* releaseCoefs, double* levels)
{
  Quad attack;
  Quad release;
  Quad level;
  __builtin_memcpy(&attack, attackCoefs, sizeof attack);
  __builtin_memcpy(&release, releaseCoefs, sizeof release);
  __builtin_memcpy(&level, levels, sizeof level);
  const Quad zero = Quad{};
  const QuadMask noSign = QuadMask{} + 0x7fffffffffffffffLL;
  const double* const a = sources[0];
  const double* const b = sources[1];
  const double* const c = sources[2];
  const double* const d = sources[3];
  for (int i = 0; i < count; ++i)
  {
    const Quad sample = {a[i], b[i], c[i], d[i]};
    Quad x = reinterpret_cast<Quad>(reinterpret_cast<QuadMask>(sample) & noSign);
    x = x <= kLargestFinite ? x : zero;
    // Both products are formed before the comparison is known, which shortens the chain from one
    // level to the next; the one kept is the scalar step's own product.
    const Quad distance = level - x;
    const Quad rising = attack * distance;
    const Quad falling = release * distance;
    level = x + (x > level ? rising : falling);
  }
  __builtin_memcpy(levels, &level, sizeof level);
}

} // namespace velmora::VELMORA_KERNEL_ISA
