#pragma once

#include "framework/graphics/APIFont.h"
#include "framework/graphics/CairoHandles.h"

#include <memory>
#include <span>

namespace iplug::igraphics
{

class FreeTypeLibrary;

// A TrueType face loaded through FreeType and wrapped as a cairo font face.
class CairoFont final : public APIFont
{
public:
  explicit CairoFont(CairoFontFace face) : mFace(std::move(face)) {}
  cairo_font_face_t* Face() const { return mFace.get(); }

private:
  CairoFontFace mFace;
};

// Loads a face from font file bytes (copied, so the caller's bytes may go). The FreeType library
// is created on first use and shared by the faces made from it; cairo may keep a face after the
// CairoFont is gone, so each face keeps the library alive until cairo lets go of it.
// nullptr when FreeType cannot read the bytes.
std::unique_ptr<CairoFont> LoadCairoFont(std::span<const unsigned char> bytes,
                                         std::shared_ptr<FreeTypeLibrary>& library);

} // namespace iplug::igraphics
