#include "tools/DemoSignal.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace velmora::tools
{
namespace
{

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kTempoBeats = 120.0;

double MidiToHz(double note)
{
  return 440.0 * std::pow(2.0, (note - 69.0) / 12.0);
}

// A few odd and even harmonics falling off like a soft sawtooth.
double SoftSaw(double phase)
{
  double value = 0.0;
  for (int h = 1; h <= 6; ++h)
    value += std::sin(phase * h) / h;
  return value * 0.5;
}

} // namespace

StereoBuffer MakeDemoSignal(double sampleRate, double seconds)
{
  StereoBuffer out;
  out.sampleRate = sampleRate;
  const auto frames = static_cast<size_t>(std::max(0.0, seconds * sampleRate));
  out.left.assign(frames, 0.0);
  out.right.assign(frames, 0.0);

  const double beat = 60.0 / kTempoBeats;
  const double chords[4][3] = {{57, 60, 64}, {53, 57, 60}, {48, 52, 55}, {55, 59, 62}};
  const double bass[4] = {33, 29, 36, 31};

  for (size_t i = 0; i < frames; ++i)
  {
    const double t = static_cast<double>(i) / sampleRate;
    const double beatPos = std::fmod(t, beat);
    const int bar = static_cast<int>(t / (4.0 * beat)) % 4;

    // Kick: a falling sine sweep on every beat.
    const double kickEnv = std::exp(-beatPos * 18.0);
    const double kickPhase =
        kTwoPi * (45.0 * beatPos + 90.0 * (1.0 - std::exp(-beatPos * 30.0)) / 30.0);
    const double kick = 0.9 * kickEnv * std::sin(kickPhase);

    // Bass: eighth notes on the bar's root.
    const double eighth = beat * 0.5;
    const double bassPos = std::fmod(t, eighth);
    const double bassEnv = std::exp(-bassPos * 6.0) * std::min(1.0, bassPos * 400.0);
    const double bassTone = 0.35 * bassEnv * SoftSaw(kTwoPi * MidiToHz(bass[bar]) * t);

    // Pad: the bar's chord, slightly detuned between the sides.
    const double barPos = std::fmod(t, 4.0 * beat);
    const double padEnv = std::min(1.0, barPos * 4.0) * (0.7 + 0.3 * std::exp(-barPos));
    double padLeft = 0.0;
    double padRight = 0.0;
    for (double note : chords[bar])
    {
      const double hz = MidiToHz(note);
      padLeft += SoftSaw(kTwoPi * hz * 0.998 * t);
      padRight += SoftSaw(kTwoPi * hz * 1.002 * t);
    }
    out.left[i] = kick + bassTone + 0.12 * padEnv * padLeft;
    out.right[i] = kick + bassTone + 0.12 * padEnv * padRight;
  }

  double peak = 0.0;
  for (size_t i = 0; i < frames; ++i)
    peak = std::max({peak, std::fabs(out.left[i]), std::fabs(out.right[i])});
  if (peak > 0.0)
  {
    const double scale = 0.8 / peak;
    for (size_t i = 0; i < frames; ++i)
    {
      out.left[i] *= scale;
      out.right[i] *= scale;
    }
  }
  return out;
}

} // namespace velmora::tools
