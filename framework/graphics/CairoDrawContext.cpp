#include "framework/graphics/CairoDrawContext.h"

#include "framework/graphics/CairoBitmap.h"
#include "framework/graphics/CairoFont.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace iplug::igraphics
{

namespace
{

cairo_operator_t OperatorFor(const IBlend& blend)
{
  switch (blend.method)
  {
  case EBlend::Clobber:
    return CAIRO_OPERATOR_SOURCE;
  case EBlend::Add:
    return CAIRO_OPERATOR_ADD;
  case EBlend::Default:
  case EBlend::SrcOver:
    break;
  }
  return CAIRO_OPERATOR_OVER;
}

double Weight(const IBlend& blend)
{
  return std::clamp(static_cast<double>(blend.weight), 0.0, 1.0);
}

// Reads PNG bytes for cairo's stream decoder.
struct ByteReader
{
  std::span<const unsigned char> bytes;
  size_t pos = 0;

  static cairo_status_t Read(void* closure, unsigned char* data, unsigned int length)
  {
    auto* reader = static_cast<ByteReader*>(closure);
    if (reader->bytes.size() - reader->pos < length)
      return CAIRO_STATUS_READ_ERROR;
    std::memcpy(data, reader->bytes.data() + reader->pos, length);
    reader->pos += length;
    return CAIRO_STATUS_SUCCESS;
  }
};

} // namespace

std::unique_ptr<IDrawContext> MakeDrawContext()
{
  return std::make_unique<CairoDrawContext>();
}

CairoDrawContext::CairoDrawContext() = default;
CairoDrawContext::~CairoDrawContext() = default;

bool CairoDrawContext::SetSize(int pixelWidth, int pixelHeight, float scale)
{
  mContext.reset();
  mSurface.reset();
  if (pixelWidth <= 0 || pixelHeight <= 0 || !(scale > 0.f))
    return false;
  CairoSurface surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, pixelWidth, pixelHeight));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
    return false;
  CairoContext context(cairo_create(surface.get()));
  if (cairo_status(context.get()) != CAIRO_STATUS_SUCCESS)
    return false;
  cairo_set_source_rgb(context.get(), 0, 0, 0);
  cairo_paint(context.get());
  cairo_scale(context.get(), scale, scale);
  mSurface = std::move(surface);
  mContext = std::move(context);
  mScale = scale;
  return true;
}

void CairoDrawContext::BeginFrame(const PixelRect& region)
{
  cairo_t* cr = mContext.get();
  if (!cr)
    return;
  SetClip(region);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_paint(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
}

void CairoDrawContext::SetClip(const PixelRect& clip)
{
  cairo_t* cr = mContext.get();
  if (!cr)
    return;
  // Set in pixels so that it falls on whole pixels whatever the scale.
  cairo_reset_clip(cr);
  cairo_identity_matrix(cr);
  cairo_rectangle(cr, clip.x, clip.y, clip.w, clip.h);
  cairo_clip(cr);
  cairo_scale(cr, mScale, mScale);
}

void CairoDrawContext::EndFrame()
{
  if (mSurface)
    cairo_surface_flush(mSurface.get());
}

void CairoDrawContext::SetColorSource(const IColor& color, const IBlend& blend)
{
  cairo_t* cr = mContext.get();
  cairo_set_operator(cr, OperatorFor(blend));
  cairo_set_source_rgba(cr, color.R / 255.0, color.G / 255.0, color.B / 255.0,
                        color.A / 255.0 * Weight(blend));
}

void CairoDrawContext::DrawBitmap(const APIBitmap& bitmap, const IRECT& dest, float srcX,
                                  float srcY, const IBlend& blend)
{
  cairo_t* cr = mContext.get();
  if (!cr || dest.Empty())
    return;
  const auto& image = static_cast<const CairoBitmap&>(bitmap);
  const double imageScale = image.Scale();
  cairo_save(cr);
  cairo_rectangle(cr, dest.L, dest.T, dest.W(), dest.H());
  cairo_clip(cr);
  cairo_translate(cr, dest.L, dest.T);
  cairo_scale(cr, 1.0 / imageScale, 1.0 / imageScale);
  cairo_set_source_surface(cr, image.Surface(), -srcX * imageScale, -srcY * imageScale);
  // Bilinear: cairo's default filter resamples a downscaled image several times slower, and an
  // image drawn at its own scale on whole pixels is copied exactly either way.
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
  cairo_set_operator(cr, OperatorFor(blend));
  cairo_paint_with_alpha(cr, Weight(blend));
  cairo_restore(cr);
}

void CairoDrawContext::DrawLine(const IColor& color, float x1, float y1, float x2, float y2,
                                const IBlend& blend, float thickness)
{
  cairo_t* cr = mContext.get();
  if (!cr)
    return;
  SetColorSource(color, blend);
  cairo_set_line_width(cr, thickness);
  cairo_move_to(cr, x1, y1);
  cairo_line_to(cr, x2, y2);
  cairo_stroke(cr);
}

void CairoDrawContext::FillTriangle(const IColor& color, float x1, float y1, float x2, float y2,
                                    float x3, float y3, const IBlend& blend)
{
  cairo_t* cr = mContext.get();
  if (!cr)
    return;
  SetColorSource(color, blend);
  cairo_move_to(cr, x1, y1);
  cairo_line_to(cr, x2, y2);
  cairo_line_to(cr, x3, y3);
  cairo_close_path(cr);
  cairo_fill(cr);
}

void CairoDrawContext::RoundRectPath(const IRECT& bounds, float cornerRadius)
{
  cairo_t* cr = mContext.get();
  const double r =
      std::clamp(static_cast<double>(cornerRadius), 0.0, std::min(bounds.W(), bounds.H()) * 0.5);
  if (r <= 0.0)
  {
    cairo_rectangle(cr, bounds.L, bounds.T, bounds.W(), bounds.H());
    return;
  }
  constexpr double kQuarter = std::numbers::pi / 2.0;
  cairo_new_sub_path(cr);
  cairo_arc(cr, bounds.R - r, bounds.T + r, r, -kQuarter, 0.0);
  cairo_arc(cr, bounds.R - r, bounds.B - r, r, 0.0, kQuarter);
  cairo_arc(cr, bounds.L + r, bounds.B - r, r, kQuarter, 2.0 * kQuarter);
  cairo_arc(cr, bounds.L + r, bounds.T + r, r, 2.0 * kQuarter, 3.0 * kQuarter);
  cairo_close_path(cr);
}

void CairoDrawContext::FillRoundRect(const IColor& color, const IRECT& bounds, float cornerRadius,
                                     const IBlend& blend)
{
  if (!mContext || bounds.Empty())
    return;
  SetColorSource(color, blend);
  RoundRectPath(bounds, cornerRadius);
  cairo_fill(mContext.get());
}

void CairoDrawContext::DrawRoundRect(const IColor& color, const IRECT& bounds, float cornerRadius,
                                     const IBlend& blend, float thickness)
{
  if (!mContext || bounds.Empty())
    return;
  SetColorSource(color, blend);
  cairo_set_line_width(mContext.get(), thickness);
  RoundRectPath(bounds, cornerRadius);
  cairo_stroke(mContext.get());
}

void CairoDrawContext::DrawText(const APIFont& font, const IText& text, const char* str,
                                const IRECT& bounds, const IBlend& blend)
{
  cairo_t* cr = mContext.get();
  if (!cr || !str || !*str || !(text.mSize > 0.f))
    return;
  cairo_save(cr);
  cairo_set_font_face(cr, static_cast<const CairoFont&>(font).Face());
  cairo_set_font_size(cr, text.mSize);
  cairo_text_extents_t te;
  cairo_font_extents_t fe;
  cairo_text_extents(cr, str, &te);
  cairo_font_extents(cr, &fe);

  double x = bounds.L;
  if (text.mAlign == EAlign::Center)
    x = bounds.MW() - te.x_advance * 0.5;
  else if (text.mAlign == EAlign::Far)
    x = bounds.R - te.x_advance;
  double y = bounds.MH() + (fe.ascent - fe.descent) * 0.5;
  if (text.mVAlign == EVAlign::Top)
    y = bounds.T + fe.ascent;
  else if (text.mVAlign == EVAlign::Bottom)
    y = bounds.B - fe.descent;

  if (text.mAngle != 0.f)
  {
    cairo_translate(cr, bounds.MW(), bounds.MH());
    cairo_rotate(cr, text.mAngle * std::numbers::pi / 180.0);
    cairo_translate(cr, -bounds.MW(), -bounds.MH());
  }
  SetColorSource(text.mFGColor, blend);
  cairo_move_to(cr, x, y);
  cairo_show_text(cr, str);
  cairo_restore(cr);
}

float CairoDrawContext::MeasureText(const APIFont& font, const IText& text, const char* str)
{
  cairo_t* cr = mContext.get();
  if (!cr || !str || !*str || !(text.mSize > 0.f))
    return 0.f;
  cairo_save(cr);
  cairo_set_font_face(cr, static_cast<const CairoFont&>(font).Face());
  cairo_set_font_size(cr, text.mSize);
  cairo_text_extents_t te;
  cairo_text_extents(cr, str, &te);
  cairo_restore(cr);
  return static_cast<float>(te.x_advance);
}

std::unique_ptr<APIBitmap> CairoDrawContext::DecodePNG(std::span<const unsigned char> bytes)
{
  ByteReader reader{bytes};
  CairoSurface surface(cairo_image_surface_create_from_png_stream(&ByteReader::Read, &reader));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
    return nullptr;
  return std::make_unique<CairoBitmap>(std::move(surface), 1);
}

std::unique_ptr<APIBitmap> CairoDrawContext::ScaleBitmap(const APIBitmap& source, int targetScale)
{
  const auto& image = static_cast<const CairoBitmap&>(source);
  if (targetScale < 1)
    return nullptr;
  const int width = image.Width() / image.Scale() * targetScale;
  const int height = image.Height() / image.Scale() * targetScale;
  CairoSurface surface(
      cairo_image_surface_create(cairo_image_surface_get_format(image.Surface()), width, height));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
    return nullptr;
  CairoContext cr(cairo_create(surface.get()));
  const double factor = static_cast<double>(targetScale) / image.Scale();
  cairo_scale(cr.get(), factor, factor);
  cairo_set_source_surface(cr.get(), image.Surface(), 0, 0);
  cairo_pattern_t* pattern = cairo_get_source(cr.get());
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
  cairo_pattern_set_filter(pattern, CAIRO_FILTER_GOOD);
  cairo_set_operator(cr.get(), CAIRO_OPERATOR_SOURCE);
  cairo_paint(cr.get());
  if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS)
    return nullptr;
  cairo_surface_flush(surface.get());
  return std::make_unique<CairoBitmap>(std::move(surface), targetScale);
}

std::unique_ptr<APIFont> CairoDrawContext::LoadFont(std::span<const unsigned char> bytes)
{
  return LoadCairoFont(bytes, mFreeType);
}

PixelView CairoDrawContext::Pixels()
{
  if (!mSurface)
    return {};
  cairo_surface_flush(mSurface.get());
  return {cairo_image_surface_get_data(mSurface.get()),
          cairo_image_surface_get_width(mSurface.get()),
          cairo_image_surface_get_height(mSurface.get()),
          cairo_image_surface_get_stride(mSurface.get())};
}

bool CairoDrawContext::WritePNG(const char* path)
{
  return mSurface && path &&
         cairo_surface_write_to_png(mSurface.get(), path) == CAIRO_STATUS_SUCCESS;
}

} // namespace iplug::igraphics
