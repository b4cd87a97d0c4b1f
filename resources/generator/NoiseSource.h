#pragma once

#include <cstdint>

namespace velmora::art
{

// A small fixed-seed generator (xorshift64*), so the artwork is the same on every run and
// every standard library.
class NoiseSource
{
public:
  explicit NoiseSource(std::uint64_t seed) : mState(seed ? seed : 1) {}

  std::uint64_t Next()
  {
    mState ^= mState >> 12;
    mState ^= mState << 25;
    mState ^= mState >> 27;
    return mState * 0x2545F4914F6CDD1DULL;
  }

  // Uniform in [0, 1).
  double Unit() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }

private:
  std::uint64_t mState;
};

} // namespace velmora::art
