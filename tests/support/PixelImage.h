#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace velmora::test
{

// The RGB of every pixel of a picture, row by row.
struct PixelImage
{
  int width = 0;
  int height = 0;
  std::vector<uint32_t> rgb;
};

// A PNG file's pixels (read with cairo); empty when it cannot be read.
PixelImage ReadPng(const std::filesystem::path& path);

// How many pixels differ; every pixel when the sizes do.
size_t DifferingPixels(const PixelImage& a, const PixelImage& b);

} // namespace velmora::test
