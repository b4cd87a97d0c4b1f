#include "framework/graphics/IGraphics.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace iplug::igraphics
{

namespace
{

bool SameNameIgnoringCase(std::string_view a, std::string_view b)
{
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y)
                    {
                      return std::tolower(static_cast<unsigned char>(x)) ==
                             std::tolower(static_cast<unsigned char>(y));
                    });
}

} // namespace

void IGraphics::SetResources(std::span<const ResourceEntry> resources)
{
  mResources = resources;
  mBitmapCache.clear();
}

int IGraphics::FindResource(std::string_view name) const
{
  for (size_t i = 0; i < mResources.size(); ++i)
  {
    if (SameNameIgnoringCase(mResources[i].name, name))
      return static_cast<int>(i);
  }
  return -1;
}

int IGraphics::BitmapScaleFor(int targetScale) const
{
  const int scale =
      targetScale > 0 ? targetScale : static_cast<int>(std::ceil(GetTotalScale() - 1e-4f));
  return std::clamp(scale, 1, kMaxBitmapScale);
}

std::shared_ptr<const APIBitmap> IGraphics::GetCachedBitmap(int resourceIdx, int scale)
{
  const auto cached = std::find_if(mBitmapCache.begin(), mBitmapCache.end(),
                                   [&](const CachedBitmap& c)
                                   { return c.resourceIdx == resourceIdx && c.scale == scale; });
  if (cached != mBitmapCache.end())
    return cached->bitmap;

  std::shared_ptr<const APIBitmap> bitmap;
  if (scale == 1)
    bitmap = mDrawContext->DecodePNG(mResources[static_cast<size_t>(resourceIdx)].bytes);
  else if (const auto original = GetCachedBitmap(resourceIdx, 1))
    bitmap = mDrawContext->ScaleBitmap(*original, scale);
  // Failures are remembered too, so that a bad resource is decoded once.
  mBitmapCache.push_back({resourceIdx, scale, bitmap});
  return bitmap;
}

IBitmap IGraphics::LoadBitmap(const char* name, int nFrames, bool framesAreHorizontal,
                              int targetScale)
{
  const int resourceIdx = name ? FindResource(name) : -1;
  if (resourceIdx < 0)
    return {};
  auto bitmap = GetCachedBitmap(resourceIdx, BitmapScaleFor(targetScale));
  if (!bitmap)
    return {};
  return {std::move(bitmap), resourceIdx, nFrames, framesAreHorizontal};
}

IBitmap IGraphics::GetScaledBitmap(const IBitmap& bitmap)
{
  const int scale = BitmapScaleFor(0);
  if (!bitmap.IsValid() || bitmap.GetScale() == scale ||
      bitmap.GetResourceIdx() >= static_cast<int>(mResources.size()))
    return bitmap;
  auto scaled = GetCachedBitmap(bitmap.GetResourceIdx(), scale);
  if (!scaled)
    return bitmap;
  return {std::move(scaled), bitmap.GetResourceIdx(), bitmap.N(), bitmap.GetFramesAreHorizontal()};
}

bool IGraphics::LoadFont(const char* fontID, const char* fileName)
{
  if (!fontID || !fileName)
    return false;
  if (FindFont(fontID))
    return true;
  const int resourceIdx = FindResource(fileName);
  if (resourceIdx < 0)
    return false;
  auto font = mDrawContext->LoadFont(mResources[static_cast<size_t>(resourceIdx)].bytes);
  if (!font)
    return false;
  mFonts.push_back({fontID, std::move(font)});
  return true;
}

const APIFont* IGraphics::FindFont(std::string_view fontID) const
{
  const auto found = std::find_if(mFonts.begin(), mFonts.end(),
                                  [fontID](const LoadedFont& f) { return f.id == fontID; });
  return found == mFonts.end() ? nullptr : found->font.get();
}

} // namespace iplug::igraphics
