// Compares two snapshots of the editor drawn by different back ends at one scale: the mean
// absolute difference per colour channel over the whole picture and inside every control's
// rectangle, and the frame each knob shows.
//   compare_snapshots SCALE A.png A-controls.txt B.png B-controls.txt
// Prints the figures; exits 1 when they exceed the limits, 2 on unreadable input.
#include "framework/graphics/GdiplusImageCodec.h"
#include "framework/graphics/GdiplusSession.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace iplug::igraphics;

namespace
{

constexpr double kWholeLimit = 3.0;
constexpr double kControlLimit = 16.0;

struct Control
{
  int index;
  double l, t, r, b;
  int frame;
};

std::unique_ptr<GdiplusBitmap> ReadPNG(const char* path)
{
  std::ifstream in(path, std::ios::binary);
  const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), {}};
  return DecodePNGWithGdiplus(bytes);
}

std::vector<Control> ReadControls(const char* path)
{
  std::ifstream in(path);
  std::vector<Control> controls;
  Control c{};
  while (in >> c.index >> c.l >> c.t >> c.r >> c.b >> c.frame)
    controls.push_back(c);
  return controls;
}

// Mean |a - b| per channel (red, green, blue) over a rectangle of pixels.
std::array<double, 3> MeanDifference(const GdiplusBitmap& a, const GdiplusBitmap& b, int x0, int y0,
                                     int x1, int y1)
{
  std::array<double, 3> sum{};
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x)
      for (int c = 0; c < 3; ++c)
      {
        const int shift = 16 - 8 * c;
        sum[c] += std::abs(static_cast<int>(a.Row(y)[x] >> shift & 0xFF) -
                           static_cast<int>(b.Row(y)[x] >> shift & 0xFF));
      }
  const double n = std::max(1, (x1 - x0) * (y1 - y0));
  for (double& s : sum)
    s /= n;
  return sum;
}

double Worst(const std::array<double, 3>& d)
{
  return *std::max_element(d.begin(), d.end());
}

} // namespace

int main(int argc, char** argv)
{
  if (argc != 6)
  {
    std::fprintf(stderr, "usage: %s SCALE A.png A-controls.txt B.png B-controls.txt\n", argv[0]);
    return 2;
  }
  const double scale = std::atof(argv[1]);
  const auto session = GdiplusSession::Acquire();
  const auto a = session ? ReadPNG(argv[2]) : nullptr;
  const auto b = session ? ReadPNG(argv[4]) : nullptr;
  const std::vector<Control> controlsA = ReadControls(argv[3]);
  const std::vector<Control> controlsB = ReadControls(argv[5]);
  if (!a || !b || controlsA.empty() || !(scale > 0.0))
  {
    std::fprintf(stderr, "cannot read the pictures or the control lists\n");
    return 2;
  }
  if (a->Width() != b->Width() || a->Height() != b->Height() ||
      controlsA.size() != controlsB.size())
  {
    std::printf("scale %.2f: sizes differ (%d x %d and %d x %d; %zu and %zu controls)\n", scale,
                a->Width(), a->Height(), b->Width(), b->Height(), controlsA.size(),
                controlsB.size());
    return 1;
  }

  bool ok = true;
  const auto whole = MeanDifference(*a, *b, 0, 0, a->Width(), a->Height());
  std::printf("scale %.2f, %d x %d: whole picture, mean |difference| R %.3f G %.3f B %.3f "
              "(of 255; limit %.0f)\n",
              scale, a->Width(), a->Height(), whole[0], whole[1], whole[2], kWholeLimit);
  ok = ok && Worst(whole) <= kWholeLimit;

  double worst = 0.0;
  size_t worstIndex = 0;
  int knobs = 0;
  for (size_t i = 0; i < controlsA.size(); ++i)
  {
    const Control& ca = controlsA[i];
    const Control& cb = controlsB[i];
    if (ca.l != cb.l || ca.t != cb.t || ca.r != cb.r || ca.b != cb.b || ca.frame != cb.frame)
    {
      std::printf("  control %d differs: (%g %g %g %g) frame %d against (%g %g %g %g) frame %d\n",
                  ca.index, ca.l, ca.t, ca.r, ca.b, ca.frame, cb.l, cb.t, cb.r, cb.b, cb.frame);
      ok = false;
    }
    knobs += ca.frame >= 0;
    const int x0 = std::clamp(static_cast<int>(std::floor(ca.l * scale)), 0, a->Width());
    const int y0 = std::clamp(static_cast<int>(std::floor(ca.t * scale)), 0, a->Height());
    const int x1 = std::clamp(static_cast<int>(std::ceil(ca.r * scale)), 0, a->Width());
    const int y1 = std::clamp(static_cast<int>(std::ceil(ca.b * scale)), 0, a->Height());
    if (x1 <= x0 || y1 <= y0)
      continue;
    const double d = Worst(MeanDifference(*a, *b, x0, y0, x1, y1));
    if (d > kControlLimit)
    {
      std::printf("  control %d (%g %g %g %g): mean |difference| %.3f over the limit\n", ca.index,
                  ca.l, ca.t, ca.r, ca.b, d);
      ok = false;
    }
    if (d >= worst)
    {
      worst = d;
      worstIndex = i;
    }
  }
  const Control& w = controlsA[worstIndex];
  std::printf(
      "  controls: largest mean |difference| %.3f in control %d (%g %g %g %g) (limit %.0f); "
      "%d knobs show the same frames\n",
      worst, w.index, w.l, w.t, w.r, w.b, kControlLimit, knobs);
  return ok ? 0 : 1;
}
