#pragma once

#include <cstdint>
#include <vector>

namespace velmora::test
{

// PNG bytes of a w x h image of non-premultiplied 0xAARRGGBB pixels, encoded by GDI+ (which must
// be running).
std::vector<unsigned char> EncodePNG(int w, int h, const std::vector<uint32_t>& argb);

} // namespace velmora::test
