#include "framework/graphics/GdiplusFont.h"

#include "framework/graphics/GdiplusHeaders.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace iplug::igraphics
{

namespace
{

struct VerticalMetrics
{
  float ascent;
  float descent;
};

uint32_t ReadBigEndian(std::span<const unsigned char> bytes, size_t offset, int size)
{
  uint32_t value = 0;
  for (int i = 0; i < size; ++i)
    value = value << 8 | bytes[offset + static_cast<size_t>(i)];
  return value;
}

// The offset of a table of the font file, when the file lists it within its bounds.
std::optional<size_t> FindTable(std::span<const unsigned char> bytes, std::string_view tag,
                                size_t minLength)
{
  if (bytes.size() < 12)
    return std::nullopt;
  const size_t tables = ReadBigEndian(bytes, 4, 2);
  for (size_t i = 0; i < tables && 12 + 16 * (i + 1) <= bytes.size(); ++i)
  {
    const size_t record = 12 + 16 * i;
    if (std::string_view(reinterpret_cast<const char*>(bytes.data() + record), 4) != tag)
      continue;
    const size_t offset = ReadBigEndian(bytes, record + 8, 4);
    const size_t length = ReadBigEndian(bytes, record + 12, 4);
    if (length < minLength || offset > bytes.size() || bytes.size() - offset < minLength)
      return std::nullopt;
    return offset;
  }
  return std::nullopt;
}

// Ascender and descender of the horizontal header, per em, as FreeType reports them.
std::optional<VerticalMetrics> ReadVerticalMetrics(std::span<const unsigned char> bytes)
{
  const auto head = FindTable(bytes, "head", 20);
  const auto hhea = FindTable(bytes, "hhea", 8);
  if (!head || !hhea)
    return std::nullopt;
  const uint32_t unitsPerEm = ReadBigEndian(bytes, *head + 18, 2);
  const auto ascender = static_cast<int16_t>(ReadBigEndian(bytes, *hhea + 4, 2));
  const auto descender = static_cast<int16_t>(ReadBigEndian(bytes, *hhea + 6, 2));
  if (unitsPerEm == 0 || (ascender == 0 && descender == 0))
    return std::nullopt;
  const auto em = static_cast<float>(unitsPerEm);
  return VerticalMetrics{ascender / em, -descender / em};
}

} // namespace

std::unique_ptr<GdiplusFont> GdiplusFont::Load(std::span<const unsigned char> bytes,
                                               std::shared_ptr<GdiplusSession> session)
{
  if (!session || bytes.empty() || bytes.size() > 0x7FFFFFFF)
    return nullptr;
  std::unique_ptr<GdiplusFont> font(new GdiplusFont);
  font->mSession = std::move(session);
  font->mBytes.assign(bytes.begin(), bytes.end());
  font->mCollection = std::make_unique<Gdiplus::PrivateFontCollection>();
  if (font->mCollection->AddMemoryFont(font->mBytes.data(),
                                       static_cast<INT>(font->mBytes.size())) != Gdiplus::Ok ||
      font->mCollection->GetFamilyCount() < 1)
    return nullptr;
  font->mFamily = std::make_unique<Gdiplus::FontFamily>();
  INT found = 0;
  if (font->mCollection->GetFamilies(1, font->mFamily.get(), &found) != Gdiplus::Ok || found != 1 ||
      !font->mFamily->IsStyleAvailable(Gdiplus::FontStyleRegular))
    return nullptr;

  const Gdiplus::FontFamily& family = *font->mFamily;
  const auto em = static_cast<float>(family.GetEmHeight(Gdiplus::FontStyleRegular));
  if (!(em > 0.f))
    return nullptr;
  font->mCellAscent = family.GetCellAscent(Gdiplus::FontStyleRegular) / em;
  const VerticalMetrics metrics = ReadVerticalMetrics(bytes).value_or(
      VerticalMetrics{font->mCellAscent, family.GetCellDescent(Gdiplus::FontStyleRegular) / em});
  font->mAscent = metrics.ascent;
  font->mDescent = metrics.descent;
  return font;
}

GdiplusFont::~GdiplusFont() = default;

} // namespace iplug::igraphics
