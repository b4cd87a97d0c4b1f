#include "tests/resources/EmbeddedImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace velmora::test
{
namespace
{

constexpr int kPngRgb = 2;
constexpr int kPngRgba = 6;

struct ExpectedImage
{
  std::string_view name;
  int width;
  int height;
  int colourType;
};

constexpr std::array<ExpectedImage, 6> kImages{{
    {"vlm_bg_1_6b.png", 650, 400, kPngRgb},
    {"x271_frame_stack_fixed_again.png", 1024, 1088, kPngRgba},
    {"smallknob.png", 752, 799, kPngRgba},
    {"vlm_glow.png", 16, 16, kPngRgb},
    {"vlm_glow_red.png", 16, 16, kPngRgb},
    {"OS_alpha.png", 29, 58, kPngRgba},
}};

std::uint32_t BigEndian32(std::span<const unsigned char> b, std::size_t at)
{
  return (std::uint32_t{b[at]} << 24) | (std::uint32_t{b[at + 1]} << 16) |
         (std::uint32_t{b[at + 2]} << 8) | std::uint32_t{b[at + 3]};
}

TEST(ResourceTable, HoldsExactlyTheSixImagesAndTheFont)
{
  std::vector<std::string> names;
  for (const auto& entry : iplug::igraphics::ModuleResources())
  {
    names.emplace_back(entry.name);
    EXPECT_FALSE(entry.bytes.empty()) << entry.name;
  }
  std::vector<std::string> expected;
  for (const ExpectedImage& image : kImages)
    expected.emplace_back(image.name);
  expected.emplace_back("Roboto-Regular.ttf");
  std::sort(names.begin(), names.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(names, expected);
}

TEST(ResourceTable, ImagesHaveTheirSizeAndPixelFormat)
{
  constexpr std::array<unsigned char, 8> kSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  for (const ExpectedImage& want : kImages)
  {
    SCOPED_TRACE(want.name);
    const std::span<const unsigned char> bytes = ResourceBytes(want.name);
    ASSERT_GT(bytes.size(), 33u);
    ASSERT_TRUE(std::equal(kSignature.begin(), kSignature.end(), bytes.begin()));
    ASSERT_EQ(std::string(bytes.begin() + 12, bytes.begin() + 16), "IHDR");
    EXPECT_EQ(BigEndian32(bytes, 16), static_cast<std::uint32_t>(want.width));
    EXPECT_EQ(BigEndian32(bytes, 20), static_cast<std::uint32_t>(want.height));
    EXPECT_EQ(bytes[24], 8) << "bit depth";
    EXPECT_EQ(bytes[25], want.colourType);

    const EmbeddedImage image(bytes);
    ASSERT_TRUE(image.Valid());
    EXPECT_EQ(image.Width(), want.width);
    EXPECT_EQ(image.Height(), want.height);
    EXPECT_EQ(image.Format(),
              want.colourType == kPngRgba ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24);
  }
}

TEST(ResourceTable, FontIsTheInstalledRobotoFile)
{
  const std::span<const unsigned char> font = ResourceBytes("Roboto-Regular.ttf");
  ASSERT_GE(font.size(), 4u);
  EXPECT_EQ(BigEndian32(font, 0), 0x00010000u) << "TrueType signature";

  std::ifstream file(VELMORA_FONT_FILE, std::ios::binary);
  ASSERT_TRUE(file) << VELMORA_FONT_FILE;
  const std::vector<unsigned char> installed{std::istreambuf_iterator<char>(file),
                                             std::istreambuf_iterator<char>()};
  EXPECT_EQ(font.size(), installed.size());
  EXPECT_TRUE(std::equal(font.begin(), font.end(), installed.begin(), installed.end()));
}

} // namespace
} // namespace velmora::test
