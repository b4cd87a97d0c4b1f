#include "tests/resources/EmbeddedImage.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>

namespace velmora::test
{
namespace
{

constexpr int kFrames = 271;
constexpr int kColumns = 16;

struct Strip
{
  std::string_view name;
  int frameSize;
};

constexpr std::array<Strip, 2> kStrips{{
    {"x271_frame_stack_fixed_again.png", 64},
    {"smallknob.png", 47},
}};

// The direction of the pointer, clockwise from straight up in degrees: the centroid of the
// bright, unsaturated (off-white) opaque pixels on the knob body.
double PointerAngle(const EmbeddedImage& strip, int frameSize, int frame)
{
  const int left = (frame % kColumns) * frameSize;
  const int top = (frame / kColumns) * frameSize;
  const double centre = frameSize / 2.0;
  const double bodyRadius = frameSize * 0.3;
  double sx = 0.0;
  double sy = 0.0;
  for (int y = 0; y < frameSize; ++y)
  {
    for (int x = 0; x < frameSize; ++x)
    {
      const double dx = x + 0.5 - centre;
      const double dy = y + 0.5 - centre;
      if (std::hypot(dx, dy) > bodyRadius)
        continue;
      const EmbeddedImage::Pixel p = strip.At(left + x, top + y);
      if (p.a == 255 && std::min({p.r, p.g, p.b}) > 170)
      {
        sx += dx;
        sy += dy;
      }
    }
  }
  return std::atan2(sx, -sy) * 180.0 / std::numbers::pi;
}

TEST(KnobStrip, PointerTurnsEvenlyFromLowerLeftThroughUpToLowerRight)
{
  for (const Strip& s : kStrips)
  {
    SCOPED_TRACE(s.name);
    const EmbeddedImage strip(ResourceBytes(s.name));
    ASSERT_TRUE(strip.Valid());
    for (int frame = 0; frame < kFrames; ++frame)
    {
      const double expected = -135.0 + 270.0 * frame / (kFrames - 1);
      ASSERT_NEAR(PointerAngle(strip, s.frameSize, frame), expected, 3.0) << "frame " << frame;
    }
  }
}

TEST(KnobStrip, FrameEdgesAndTheUnusedCellAreTransparent)
{
  for (const Strip& s : kStrips)
  {
    SCOPED_TRACE(s.name);
    const EmbeddedImage strip(ResourceBytes(s.name));
    ASSERT_TRUE(strip.Valid());
    const int n = s.frameSize;
    for (int frame = 0; frame < kFrames; ++frame)
    {
      const int left = (frame % kColumns) * n;
      const int top = (frame / kColumns) * n;
      for (int i = 0; i < n; ++i)
      {
        ASSERT_EQ(strip.At(left + i, top).a, 0) << "frame " << frame;
        ASSERT_EQ(strip.At(left + i, top + n - 1).a, 0) << "frame " << frame;
        ASSERT_EQ(strip.At(left, top + i).a, 0) << "frame " << frame;
        ASSERT_EQ(strip.At(left + n - 1, top + i).a, 0) << "frame " << frame;
      }
      EXPECT_EQ(strip.At(left + n / 2, top + n / 2).a, 255) << "frame " << frame << " has no knob";
    }
    for (int y = strip.Height() - n; y < strip.Height(); ++y)
      for (int x = strip.Width() - n; x < strip.Width(); ++x)
        ASSERT_EQ(strip.At(x, y).a, 0) << "unused cell at " << x << "," << y;
  }
}

} // namespace
} // namespace velmora::test
