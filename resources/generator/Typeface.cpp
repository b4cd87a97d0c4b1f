#include "resources/generator/Typeface.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <stdexcept>

namespace velmora::art
{
namespace
{

// The FreeType objects behind one cairo font face; cairo releases them with the face, which
// may outlive the Typeface in cairo's font cache.
struct FreeTypeHandles
{
  FT_Library library = nullptr;
  FT_Face face = nullptr;

  ~FreeTypeHandles()
  {
    if (face)
      FT_Done_Face(face);
    if (library)
      FT_Done_FreeType(library);
  }
};

const cairo_user_data_key_t kHandlesKey{};

void ReleaseHandles(void* data)
{
  delete static_cast<FreeTypeHandles*>(data);
}

} // namespace

Typeface::Typeface(const std::string& path)
{
  auto handles = std::make_unique<FreeTypeHandles>();
  if (FT_Init_FreeType(&handles->library) != 0)
    throw std::runtime_error("cannot start FreeType");
  if (FT_New_Face(handles->library, path.c_str(), 0, &handles->face) != 0)
    throw std::runtime_error("cannot load the font " + path);

  mFace.reset(cairo_ft_font_face_create_for_ft_face(handles->face, 0));
  if (cairo_font_face_status(mFace.get()) != CAIRO_STATUS_SUCCESS ||
      cairo_font_face_set_user_data(mFace.get(), &kHandlesKey, handles.get(), ReleaseHandles) !=
          CAIRO_STATUS_SUCCESS)
  {
    throw std::runtime_error("cannot make a cairo font from " + path);
  }
  handles.release(); // now owned by the font face
}

} // namespace velmora::art
