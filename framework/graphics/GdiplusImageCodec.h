#pragma once

#include "framework/graphics/GdiplusBitmap.h"

#include <memory>
#include <span>

namespace iplug::igraphics
{

// PNG reading and writing through GDI+'s codecs; GDI+ must be running (a GdiplusSession held).

// nullptr when the bytes are no PNG that GDI+ decodes.
std::unique_ptr<GdiplusBitmap> DecodePNGWithGdiplus(std::span<const unsigned char> bytes);

// Writes premultiplied pixels of an opaque image (alpha ignored) to a PNG file; the path is
// UTF-8, or in the ANSI code page when it is not valid UTF-8.
bool WritePNGWithGdiplus(const uint32_t* pixels, int width, int height, int stride,
                         const char* path);

} // namespace iplug::igraphics
