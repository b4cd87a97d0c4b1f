#pragma once

#include <cairo.h>

#include <memory>
#include <string>

namespace velmora::art
{

// A TrueType file loaded through FreeType for cairo, read from a path rather than looked up by
// name, so every run draws with the same glyphs.
class Typeface
{
public:
  explicit Typeface(const std::string& path);

  cairo_font_face_t* Face() const { return mFace.get(); }

private:
  struct FaceDeleter
  {
    void operator()(cairo_font_face_t* f) const { cairo_font_face_destroy(f); }
  };
  std::unique_ptr<cairo_font_face_t, FaceDeleter> mFace;
};

} // namespace velmora::art
