#include "framework/graphics/CairoFont.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <vector>

namespace iplug::igraphics
{

class FreeTypeLibrary
{
public:
  FreeTypeLibrary()
  {
    if (FT_Init_FreeType(&mLibrary) != 0)
      mLibrary = nullptr;
  }
  ~FreeTypeLibrary()
  {
    if (mLibrary)
      FT_Done_FreeType(mLibrary);
  }
  FreeTypeLibrary(const FreeTypeLibrary&) = delete;
  FreeTypeLibrary& operator=(const FreeTypeLibrary&) = delete;

  FT_Library Get() const { return mLibrary; }

private:
  FT_Library mLibrary = nullptr;
};

namespace
{

// What a cairo font face needs until cairo finalises it: the FreeType face, the bytes it reads
// from and the library it came from (released in that order).
struct FaceOwner
{
  std::shared_ptr<FreeTypeLibrary> library;
  std::vector<unsigned char> bytes;
  FT_Face face = nullptr;

  ~FaceOwner()
  {
    if (face)
      FT_Done_Face(face);
  }
};

const cairo_user_data_key_t kFaceOwnerKey{};

void ReleaseFaceOwner(void* owner)
{
  delete static_cast<FaceOwner*>(owner);
}

} // namespace

std::unique_ptr<CairoFont> LoadCairoFont(std::span<const unsigned char> bytes,
                                         std::shared_ptr<FreeTypeLibrary>& library)
{
  if (bytes.empty())
    return nullptr;
  if (!library)
    library = std::make_shared<FreeTypeLibrary>();
  if (!library->Get())
    return nullptr;

  auto owner = std::make_unique<FaceOwner>();
  owner->library = library;
  owner->bytes.assign(bytes.begin(), bytes.end());
  if (FT_New_Memory_Face(library->Get(), owner->bytes.data(),
                         static_cast<FT_Long>(owner->bytes.size()), 0, &owner->face) != 0)
  {
    owner->face = nullptr;
    return nullptr;
  }

  CairoFontFace face(cairo_ft_font_face_create_for_ft_face(owner->face, 0));
  if (cairo_font_face_status(face.get()) != CAIRO_STATUS_SUCCESS)
    return nullptr;
  if (cairo_font_face_set_user_data(face.get(), &kFaceOwnerKey, owner.get(), ReleaseFaceOwner) !=
      CAIRO_STATUS_SUCCESS)
    return nullptr;
  owner.release();
  return std::make_unique<CairoFont>(std::move(face));
}

} // namespace iplug::igraphics
