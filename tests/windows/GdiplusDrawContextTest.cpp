// The GDI+ drawing back end on its own: blends, clip, shapes, text, PNG and resampling.
#include "framework/graphics/GdiplusDrawContext.h"
#include "framework/graphics/GdiplusBitmap.h"
#include "tests/windows/GdiplusTestImages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

using namespace iplug::igraphics;

namespace velmora::test
{
namespace
{

struct RGB
{
  int r;
  int g;
  int b;
};

uint32_t Opaque(const RGB& c)
{
  return 0xFF000000u | static_cast<uint32_t>(c.r) << 16 | static_cast<uint32_t>(c.g) << 8 |
         static_cast<uint32_t>(c.b);
}

RGB Channels(uint32_t px)
{
  return {static_cast<int>(px >> 16 & 0xFF), static_cast<int>(px >> 8 & 0xFF),
          static_cast<int>(px & 0xFF)};
}

::testing::AssertionResult Near(uint32_t px, const RGB& expected, int tolerance = 1)
{
  const RGB got = Channels(px);
  if (std::abs(got.r - expected.r) <= tolerance && std::abs(got.g - expected.g) <= tolerance &&
      std::abs(got.b - expected.b) <= tolerance)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "got (" << got.r << ", " << got.g << ", " << got.b << "), expected (" << expected.r
         << ", " << expected.g << ", " << expected.b << ")";
}

std::vector<unsigned char> ReadBytes(const std::filesystem::path& path)
{
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<unsigned char> RobotoBytes()
{
  return ReadBytes(VELMORA_FONT_FILE);
}

struct GdiplusCanvas : ::testing::Test
{
  // Keeps GDI+ running for the test's own PNG encoding.
  std::shared_ptr<GdiplusSession> session = GdiplusSession::Acquire();
  GdiplusDrawContext context;

  void Start(int w, int h, float scale)
  {
    ASSERT_TRUE(context.SetSize(w, h, scale));
    context.BeginFrame({0, 0, w, h});
  }
  // A w x h image of one colour (0xAARRGGBB, not premultiplied).
  std::unique_ptr<APIBitmap> Uniform(int w, int h, uint32_t argb)
  {
    return context.DecodePNG(EncodePNG(w, h, std::vector<uint32_t>(w * h, argb)));
  }
  uint32_t At(int x, int y) { return context.Pixels().At(x, y) | 0xFF000000u; }
};

struct BlendCase
{
  RGB background;
  uint32_t source; // 0xAARRGGBB, not premultiplied
  RGB expected;
};

// Each case on a background of its own, 4 x 4 units at x = 8 * case; read at the middle.
void DrawBlendCases(GdiplusCanvas& canvas, const std::vector<BlendCase>& cases, const IBlend& blend,
                    int times)
{
  for (size_t i = 0; i < cases.size(); ++i)
  {
    const float x = 8.f * static_cast<float>(i);
    const auto background = canvas.Uniform(4, 4, Opaque(cases[i].background));
    const auto source = canvas.Uniform(4, 4, cases[i].source);
    ASSERT_TRUE(background && source);
    canvas.context.DrawBitmap(*background, {x, 0, x + 4, 4}, 0, 0, IBlend{});
    for (int n = 0; n < times; ++n)
      canvas.context.DrawBitmap(*source, {x, 0, x + 4, 4}, 0, 0, blend);
  }
}

TEST_F(GdiplusCanvas, AdditiveGlowDrawnTwiceAtHalfWeightAddsUpAndHoldsAt255)
{
  const std::vector<BlendCase> cases = {
      {{10, 20, 40}, 0xFF64C8FA, {110, 220, 255}},
      {{128, 128, 128}, 0xFF646464, {228, 228, 228}},
      {{240, 240, 240}, 0xFF280800, {255, 248, 240}},
      {{0, 0, 0}, 0xFFFFFFFF, {255, 255, 255}},
      {{30, 60, 90}, 0xFF000000, {30, 60, 90}}, // black adds nothing
  };
  // At the image's own scale the pixels are composited directly; at 2 and 1.5 they are
  // resampled by GDI+ first.
  for (const float scale : {1.f, 2.f, 1.5f})
  {
    Start(80, 12, scale);
    DrawBlendCases(*this, cases, IBlend{EBlend::Add, 0.5f}, 2);
    for (size_t i = 0; i < cases.size(); ++i)
    {
      const int x = static_cast<int>(std::lround((8 * i + 2) * scale));
      const int y = static_cast<int>(std::lround(2 * scale));
      EXPECT_TRUE(Near(At(x, y), cases[i].expected)) << "case " << i << " at scale " << scale;
    }
  }
}

TEST_F(GdiplusCanvas, NormalBlendAtWeightPoint3MixesByTheSourcesAlpha)
{
  const std::vector<BlendCase> cases = {
      {{200, 100, 0}, 0xFF0064C8, {140, 100, 60}}, // 0.7 background + 0.3 source
      {{0, 0, 0}, 0x80FFFFFF, {38, 38, 38}},       // half-transparent white: 0.3 x 128
      {{100, 100, 100}, 0xFFC80032, {130, 70, 85}},
      {{50, 60, 70}, 0x00FF0000, {50, 60, 70}}, // transparent: unchanged
  };
  for (const float scale : {1.f, 2.f})
  {
    Start(80, 12, scale);
    DrawBlendCases(*this, cases, IBlend{EBlend::Default, 0.3f}, 1);
    for (size_t i = 0; i < cases.size(); ++i)
    {
      const int x = static_cast<int>((8 * i + 2) * scale);
      EXPECT_TRUE(Near(At(x, static_cast<int>(2 * scale)), cases[i].expected))
          << "case " << i << " at scale " << scale;
    }
  }
}

TEST_F(GdiplusCanvas, DrawingStaysInsideTheFrameAndItsClip)
{
  Start(40, 40, 1.f);
  const auto white = Uniform(40, 40, 0xFFFFFFFF);
  context.DrawBitmap(*white, {0, 0, 40, 40}, 0, 0, IBlend{});
  context.BeginFrame({10, 10, 20, 20}); // cleared to black
  context.SetClip({12, 12, 4, 4});
  const auto grey = Uniform(40, 40, 0xFF404040);
  context.DrawBitmap(*grey, {0, 0, 40, 40}, 0, 0, IBlend{EBlend::Add, 1.f});
  context.FillRoundRect({255, 0, 0, 255}, {0, 0, 40, 40}, 0.f, IBlend{});
  context.DrawText(*context.LoadFont(RobotoBytes()), IText(30.f, {255, 255, 0, 0}), "XX",
                   {0, 0, 40, 40}, IBlend{});
  context.EndFrame();
  EXPECT_EQ(At(5, 5), 0xFFFFFFFFu);   // outside the frame: kept
  EXPECT_EQ(At(11, 11), 0xFF000000u); // in the frame, outside the clip: cleared only
  EXPECT_EQ(At(29, 29), 0xFF000000u);
  EXPECT_EQ(At(30, 30), 0xFFFFFFFFu);
  // Inside the clip: blue, partly under red text.
  for (int y = 12; y < 16; ++y)
    for (int x = 12; x < 16; ++x)
      EXPECT_NEAR(Channels(At(x, y)).r + Channels(At(x, y)).b, 255, 1) << x << ", " << y;
}

TEST_F(GdiplusCanvas, ShapesCoverWhatTheyOutlineAtEveryScale)
{
  for (const float scale : {1.f, 2.f})
  {
    const auto s = [scale](float v) { return static_cast<int>(v * scale); };
    Start(s(200), s(100), scale);
    const IBlend normal{};
    context.FillRoundRect({255, 0, 0, 255}, {10, 10, 20, 20}, 0.f, normal);
    context.FillRoundRect({255, 0, 0, 255}, {30, 10, 70, 50}, 10.f, normal);
    context.DrawRoundRect({255, 255, 255, 255}, {80, 10, 120, 50}, 4.f, normal, 2.f);
    context.FillTriangle({255, 0, 255, 0}, 130.f, 50.f, 170.f, 10.f, 170.f, 50.f, normal);
    context.DrawLine({255, 255, 0, 0}, 10.f, 70.5f, 110.f, 70.5f, normal, 1.f);
    // Added twice: the colour's channels add up.
    context.DrawLine({255, 100, 0, 0}, 10.f, 90.5f, 110.f, 90.5f, IBlend{EBlend::Add, 1.f}, 1.f);
    context.DrawLine({255, 100, 0, 0}, 10.f, 90.5f, 110.f, 90.5f, IBlend{EBlend::Add, 1.f}, 1.f);

    EXPECT_EQ(At(s(10), s(10)), 0xFF0000FFu) << scale;
    EXPECT_EQ(At(s(20) - 1, s(20) - 1), 0xFF0000FFu) << scale;
    EXPECT_EQ(At(s(20), s(15)), 0xFF000000u) << scale;
    EXPECT_EQ(At(s(50), s(30)), 0xFF0000FFu) << scale;
    EXPECT_EQ(At(s(30), s(10)), 0xFF000000u) << scale; // rounded corner
    EXPECT_EQ(At(s(100), s(10)), 0xFFFFFFFFu) << scale;
    EXPECT_EQ(At(s(100), s(30)), 0xFF000000u) << scale; // outline only
    EXPECT_EQ(At(s(165), s(45)), 0xFF00FF00u) << scale; // the lower-right half
    EXPECT_EQ(At(s(135), s(15)), 0xFF000000u) << scale;
    // A line centred on y = 70.5 covers row 70 with GDI+ on Windows, as with cairo (pixel
    // centres at half units); Wine's GDI+ draws it without anti-aliasing and rounds it to row 71.
    const int lit = Channels(At(s(60), s(70))).r == 255 ? s(70) : s(71);
    EXPECT_EQ(At(s(60), lit), 0xFFFF0000u) << scale;
    EXPECT_EQ(At(s(60), s(68)), 0xFF000000u) << scale;
    EXPECT_EQ(At(s(60), s(73)), 0xFF000000u) << scale;
    EXPECT_EQ(At(s(111), lit), 0xFF000000u) << scale;
    const int added = Channels(At(s(60), s(90))).r == 200 ? s(90) : s(91);
    EXPECT_EQ(At(s(60), added), 0xFFC80000u) << scale;
  }
}

TEST_F(GdiplusCanvas, TextTakesTheEmbeddedFontAndItsAlignment)
{
  const auto font = context.LoadFont(RobotoBytes());
  ASSERT_TRUE(font);
  const IRECT box{400, 100, 600, 130};
  for (const EAlign align : {EAlign::Near, EAlign::Center, EAlign::Far})
  {
    Start(650, 200, 1.f);
    context.DrawText(*font, IText(20.f, {255, 255, 255, 255}, "", align), "4.1.2", box, IBlend{});
    int minX = 650, maxX = -1, minY = 200, maxY = -1;
    for (int y = 0; y < 200; ++y)
      for (int x = 0; x < 650; ++x)
        if (At(x, y) != 0xFF000000u)
        {
          minX = std::min(minX, x);
          maxX = std::max(maxX, x);
          minY = std::min(minY, y);
          maxY = std::max(maxY, y);
        }
    ASSERT_GE(maxX, 0);
    // "4.1.2" in Roboto at 20 units: about 40 units wide and 14 high, centred vertically.
    EXPECT_NEAR(maxX - minX, 40, 6);
    EXPECT_NEAR(maxY - minY, 14, 2);
    EXPECT_NEAR((minY + maxY) / 2.0, 115.0, 2.0);
    const double expected[] = {401.0, 500.0, 598.0};
    const double got[] = {static_cast<double>(minX), (minX + maxX) / 2.0,
                          static_cast<double>(maxX)};
    const auto which = static_cast<size_t>(align);
    EXPECT_NEAR(got[which], expected[which], 2.0) << "alignment " << which;
  }
  EXPECT_FALSE(context.LoadFont(std::vector<unsigned char>(1000, 7)));
}

TEST_F(GdiplusCanvas, TheBackingImageIsWrittenAsPNGAndReadsBackPixelForPixel)
{
  Start(97, 31, 1.5f);
  context.FillTriangle({255, 200, 150, 100}, 0.f, 0.f, 60.f, 20.f, 10.f, 20.f, IBlend{});
  const auto path = std::filesystem::temp_directory_path() / "velmora-gdiplus-test.png";
  ASSERT_TRUE(context.WritePNG(path.string().c_str()));
  const std::vector<unsigned char> bytes = ReadBytes(path);
  std::filesystem::remove(path);
  const auto decoded = context.DecodePNG(bytes);
  ASSERT_TRUE(decoded);
  ASSERT_EQ(decoded->Width(), 97);
  ASSERT_EQ(decoded->Height(), 31);
  const auto& image = static_cast<const GdiplusBitmap&>(*decoded);
  int differing = 0;
  for (int y = 0; y < 31; ++y)
    for (int x = 0; x < 97; ++x)
      differing += image.Row(y)[x] != At(x, y);
  EXPECT_EQ(differing, 0);

  EXPECT_FALSE(context.WritePNG("Z:\\no-such-folder\\velmora\\x.png"));
  EXPECT_FALSE(context.DecodePNG(std::vector<unsigned char>(bytes.begin(), bytes.begin() + 40)));
  EXPECT_FALSE(context.DecodePNG(std::vector<unsigned char>(300, 0x42)));
  EXPECT_FALSE(context.DecodePNG({}));
}

TEST_F(GdiplusCanvas, ScaledBitmapsAreResampledSmoothlyWithoutFadedEdges)
{
  // Left half red, right half blue, 4 x 2.
  std::vector<uint32_t> argb(8);
  for (int i = 0; i < 8; ++i)
    argb[i] = i % 4 < 2 ? 0xFFFF0000u : 0xFF0000FFu;
  const auto original = context.DecodePNG(EncodePNG(4, 2, argb));
  ASSERT_TRUE(original);
  const auto scaled = context.ScaleBitmap(*original, 2);
  ASSERT_TRUE(scaled);
  EXPECT_EQ(scaled->Width(), 8);
  EXPECT_EQ(scaled->Height(), 4);
  EXPECT_EQ(scaled->Scale(), 2);
  const auto& image = static_cast<const GdiplusBitmap&>(*scaled);
  for (int y = 0; y < 4; ++y)
  {
    EXPECT_TRUE(Near(image.Row(y)[0], {255, 0, 0}, 2)) << y;
    EXPECT_TRUE(Near(image.Row(y)[7], {0, 0, 255}, 2)) << y;
    // Across the border the colour changes over the pixels next to it.
    EXPECT_GT(Channels(image.Row(y)[3]).r, Channels(image.Row(y)[4]).r) << y;
    EXPECT_GT(Channels(image.Row(y)[4]).b, Channels(image.Row(y)[3]).b) << y;
  }
  EXPECT_FALSE(context.ScaleBitmap(*original, 0));
}

TEST_F(GdiplusCanvas, BadInputDrawsNothingAndNeverFails)
{
  EXPECT_FALSE(context.SetSize(0, 10, 1.f));
  EXPECT_FALSE(context.SetSize(10, 10, std::numeric_limits<float>::quiet_NaN()));
  EXPECT_FALSE(context.SetSize(100000, 100000, 1.f));
  EXPECT_EQ(context.Pixels().data, nullptr);
  context.FillRoundRect({255, 255, 0, 0}, {0, 0, 10, 10}, 2.f, IBlend{});

  Start(20, 20, 1.f);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float huge = 1e30f;
  context.DrawLine({255, 255, 255, 255}, nan, 0.f, 10.f, 10.f, IBlend{}, 1.f);
  context.DrawLine({255, 255, 255, 255}, 0.f, 0.f, 10.f, 10.f, IBlend{}, nan);
  context.FillTriangle({255, 255, 255, 255}, -huge, -huge, huge, -huge, huge, huge, IBlend{});
  context.FillRoundRect({255, 255, 255, 255}, {5, 5, 15, 15}, nan, IBlend{EBlend::Add, nan});
  const auto image = Uniform(2, 2, 0xFFFFFFFF);
  context.DrawBitmap(*image, {-huge, -huge, huge, huge}, 0.f, 0.f, IBlend{});
  context.DrawBitmap(*image, {0, 0, 10, 10}, nan, 0.f, IBlend{});
  EXPECT_EQ(context.Pixels().width, 20);
}

// GDI+ runs while anything that draws with it lives, and starts again after it stopped.
TEST(GdiplusSessionUse, GdiplusRunsWhileAnyContextDoesAndStartsAgainAfterwards)
{
  const std::vector<unsigned char> font = RobotoBytes();
  const auto anyLit = [](const PixelView& px)
  {
    for (int y = 0; y < px.height; ++y)
      for (int x = 0; x < px.width; ++x)
        if (px.At(x, y) != 0u)
          return true;
    return false;
  };
  {
    auto first = std::make_unique<GdiplusDrawContext>();
    auto second = std::make_unique<GdiplusDrawContext>();
    const auto face = first->LoadFont(font);
    ASSERT_TRUE(face);
    first.reset();
    ASSERT_TRUE(second->SetSize(40, 20, 1.f));
    second->DrawText(*face, IText(16.f, {255, 255, 255, 255}), "8", {0, 0, 40, 20}, IBlend{});
    EXPECT_TRUE(anyLit(second->Pixels()));
  }
  GdiplusDrawContext again;
  const auto face = again.LoadFont(font);
  ASSERT_TRUE(face);
  ASSERT_TRUE(again.SetSize(40, 20, 1.f));
  again.DrawText(*face, IText(16.f, {255, 255, 255, 255}), "8", {0, 0, 40, 20}, IBlend{});
  EXPECT_TRUE(anyLit(again.Pixels()));
}

} // namespace
} // namespace velmora::test
