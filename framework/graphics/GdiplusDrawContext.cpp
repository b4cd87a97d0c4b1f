#include "framework/graphics/GdiplusDrawContext.h"

#include "framework/graphics/BilinearCompositing.h"
#include "framework/graphics/GdiplusBitmap.h"
#include "framework/graphics/GdiplusFont.h"
#include "framework/graphics/GdiplusHeaders.h"
#include "framework/graphics/GdiplusImageCodec.h"
#include "framework/graphics/PixelCompositing.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <string>

namespace iplug::igraphics
{

namespace
{

constexpr uint32_t kOpaqueBlack = 0xFF000000u;
// Room around a shape's outline for the pixels that anti-aliasing touches.
constexpr double kEdgeMargin = 1.0;

// Cairo's conventions: anti-aliased edges, pixel centres half-way between whole coordinates (so
// that a 1-unit line at y = 10.5 covers exactly row 10), grey-scale anti-aliased text at the
// font's own advances.
void UseCairoConventions(Gdiplus::Graphics& g)
{
  g.SetPageUnit(Gdiplus::UnitPixel);
  g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
  g.SetCompositingMode(Gdiplus::CompositingModeSourceOver);
  g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
}

// GDI+ reads a bitmap's premultiplied pixels in place; it never writes to a drawing's source.
Gdiplus::Bitmap WrapPixels(const GdiplusBitmap& image)
{
  return Gdiplus::Bitmap(image.Width(), image.Height(), image.Stride(), PixelFormat32bppPARGB,
                         reinterpret_cast<BYTE*>(const_cast<uint32_t*>(image.Data())));
}

void AddRoundRect(Gdiplus::GraphicsPath& path, const IRECT& b, float cornerRadius)
{
  const float r = cornerRadius > 0.f ? std::min(cornerRadius, std::min(b.W(), b.H()) * 0.5f) : 0.f;
  if (r <= 0.f)
  {
    path.AddRectangle(Gdiplus::RectF(b.L, b.T, b.W(), b.H()));
    return;
  }
  const float d = 2.f * r;
  path.AddArc(b.R - d, b.T, d, d, 270.f, 90.f);
  path.AddArc(b.R - d, b.B - d, d, d, 0.f, 90.f);
  path.AddArc(b.L, b.B - d, d, d, 90.f, 90.f);
  path.AddArc(b.L, b.T, d, d, 180.f, 90.f);
  path.CloseFigure();
}

// No padding around the string, and trailing spaces count in its advance.
void UseTypographicLayout(Gdiplus::StringFormat& format)
{
  format.SetFormatFlags(format.GetFormatFlags() | Gdiplus::StringFormatFlagsMeasureTrailingSpaces |
                        Gdiplus::StringFormatFlagsNoWrap);
}

std::wstring WideText(const char* str)
{
  const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, str, -1, nullptr, 0);
  if (n <= 1)
    return {};
  std::wstring wide(static_cast<size_t>(n), L'\0');
  if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, str, -1, wide.data(), n) != n)
    return {};
  wide.resize(static_cast<size_t>(n - 1));
  return wide;
}

} // namespace

std::unique_ptr<IDrawContext> MakeDrawContext()
{
  return std::make_unique<GdiplusDrawContext>();
}

GdiplusDrawContext::GdiplusDrawContext() : mSession(GdiplusSession::Acquire()) {}

GdiplusDrawContext::~GdiplusDrawContext() = default;

bool GdiplusDrawContext::SetSize(int pixelWidth, int pixelHeight, float scale)
{
  mLayerGraphics.reset();
  mLayerBitmap.reset();
  mLayer.clear();
  mDib.reset();
  if (!mSession || !(scale > 0.f) || !std::isfinite(scale))
    return false;
  auto dib = DibSection::Create(pixelWidth, pixelHeight);
  if (!dib)
    return false;
  const size_t pixels = static_cast<size_t>(pixelWidth) * static_cast<size_t>(pixelHeight);
  try
  {
    mLayer.assign(pixels, 0u);
  }
  catch (const std::bad_alloc&)
  {
    return false;
  }
  auto layerBitmap = std::make_unique<Gdiplus::Bitmap>(pixelWidth, pixelHeight, pixelWidth * 4,
                                                       PixelFormat32bppPARGB,
                                                       reinterpret_cast<BYTE*>(mLayer.data()));
  if (layerBitmap->GetLastStatus() != Gdiplus::Ok)
    return false;
  auto layerGraphics = std::make_unique<Gdiplus::Graphics>(layerBitmap.get());
  if (layerGraphics->GetLastStatus() != Gdiplus::Ok)
    return false;
  UseCairoConventions(*layerGraphics);
  std::fill_n(dib->Bits(), pixels, kOpaqueBlack);
  mDib = std::move(dib);
  mLayerBitmap = std::move(layerBitmap);
  mLayerGraphics = std::move(layerGraphics);
  mScale = scale;
  mClip = {0, 0, pixelWidth, pixelHeight};
  return true;
}

void GdiplusDrawContext::BeginFrame(const PixelRect& region)
{
  SetClip(region);
  if (!mDib)
    return;
  for (int y = mClip.y; y < mClip.y + mClip.h; ++y)
    std::fill_n(mDib->Row(y) + mClip.x, mClip.w, kOpaqueBlack);
}

void GdiplusDrawContext::SetClip(const PixelRect& clip)
{
  mClip = mDib ? clip.Intersect({0, 0, mDib->Width(), mDib->Height()}) : PixelRect{};
}

PixelRect GdiplusDrawContext::TouchedPixels(double left, double top, double right,
                                            double bottom) const
{
  // Also false for NaN.
  if (!mDib || !(left <= right) || !(top <= bottom))
    return {};
  const double width = mDib->Width();
  const double height = mDib->Height();
  const int l = static_cast<int>(std::floor(std::clamp(left * mScale, 0.0, width)));
  const int t = static_cast<int>(std::floor(std::clamp(top * mScale, 0.0, height)));
  const int r = static_cast<int>(std::ceil(std::clamp(right * mScale, 0.0, width)));
  const int b = static_cast<int>(std::ceil(std::clamp(bottom * mScale, 0.0, height)));
  return PixelRect{l, t, r - l, b - t}.Intersect(mClip);
}

template <typename Paint>
void GdiplusDrawContext::DrawCoverage(const PixelRect& area, const IColor& color,
                                      const IBlend& blend, Paint&& paint)
{
  if (area.Empty() || !mLayerGraphics)
    return;
  const int stride = mDib->Width();
  uint32_t* layer = mLayer.data() + static_cast<size_t>(area.y) * stride + area.x;
  for (int y = 0; y < area.h; ++y)
    std::fill_n(layer + static_cast<size_t>(y) * stride, area.w, 0u);
  Gdiplus::Graphics& g = *mLayerGraphics;
  // The clip is given in pixels, before the scale applies.
  g.ResetTransform();
  g.SetClip(Gdiplus::Rect(area.x, area.y, area.w, area.h));
  g.ScaleTransform(mScale, mScale);
  paint(g, Gdiplus::Color(255, 255, 255, 255));
  g.Flush(Gdiplus::FlushIntentionSync);
  const uint32_t source = PremultipliedColor(color, blend.weight);
  for (int y = 0; y < area.h; ++y)
    CompositeCoverageRow(mDib->Row(area.y + y) + area.x, layer + static_cast<size_t>(y) * stride,
                         area.w, source, blend.method);
}

void GdiplusDrawContext::DrawBitmap(const APIBitmap& bitmap, const IRECT& dest, float srcX,
                                    float srcY, const IBlend& blend)
{
  if (!mDib || dest.Empty())
    return;
  const auto& image = static_cast<const GdiplusBitmap&>(bitmap);
  const double imageScale = image.Scale();
  const double left = static_cast<double>(dest.L) * mScale;
  const double top = static_cast<double>(dest.T) * mScale;
  const double srcLeft = srcX * imageScale;
  const double srcTop = srcY * imageScale;
  const unsigned weight = WeightByte(blend.weight);

  const bool wholePixels = left == std::floor(left) && top == std::floor(top) &&
                           srcLeft == std::floor(srcLeft) && srcTop == std::floor(srcTop);
  if (mScale == imageScale && wholePixels && std::fabs(left) < 1e9 && std::fabs(srcLeft) < 1e9 &&
      std::fabs(top) < 1e9 && std::fabs(srcTop) < 1e9)
  {
    // Device pixel (x, y) shows image pixel (x + dx, y + dy).
    const int dx = static_cast<int>(srcLeft - left);
    const int dy = static_cast<int>(srcTop - top);
    const PixelRect area = TouchedPixels(dest.L, dest.T, dest.R, dest.B)
                               .Intersect({-dx, -dy, image.Width(), image.Height()});
    for (int y = area.y; y < area.y + area.h; ++y)
      CompositeImageRow(mDib->Row(y) + area.x, image.Row(y + dy) + area.x + dx, area.w, weight,
                        blend.method);
    return;
  }

  // Otherwise sampled bilinearly, as cairo draws an image at another scale.
  const ImagePlacement placement{left,
                                 top,
                                 static_cast<double>(dest.R) * mScale,
                                 static_cast<double>(dest.B) * mScale,
                                 srcLeft,
                                 srcTop,
                                 mScale / imageScale};
  CompositeResampled(mDib->Bits(), mDib->Width(), TouchedPixels(dest.L, dest.T, dest.R, dest.B),
                     {image.Data(), image.Width(), image.Height()}, placement, weight,
                     blend.method);
}

void GdiplusDrawContext::DrawLine(const IColor& color, float x1, float y1, float x2, float y2,
                                  const IBlend& blend, float thickness)
{
  if (!(thickness > 0.f))
    return;
  const double reach = thickness * 0.5 + kEdgeMargin / mScale;
  const PixelRect area = TouchedPixels(std::min(x1, x2) - reach, std::min(y1, y2) - reach,
                                       std::max(x1, x2) + reach, std::max(y1, y2) + reach);
  DrawCoverage(area, color, blend,
               [&](Gdiplus::Graphics& g, const Gdiplus::Color& white)
               {
                 const Gdiplus::Pen pen(white, thickness);
                 g.DrawLine(&pen, x1, y1, x2, y2);
               });
}

void GdiplusDrawContext::FillTriangle(const IColor& color, float x1, float y1, float x2, float y2,
                                      float x3, float y3, const IBlend& blend)
{
  const double margin = kEdgeMargin / mScale;
  const PixelRect area =
      TouchedPixels(std::min({x1, x2, x3}) - margin, std::min({y1, y2, y3}) - margin,
                    std::max({x1, x2, x3}) + margin, std::max({y1, y2, y3}) + margin);
  DrawCoverage(area, color, blend,
               [&](Gdiplus::Graphics& g, const Gdiplus::Color& white)
               {
                 const Gdiplus::SolidBrush brush(white);
                 const Gdiplus::PointF points[] = {{x1, y1}, {x2, y2}, {x3, y3}};
                 g.FillPolygon(&brush, points, 3);
               });
}

void GdiplusDrawContext::FillRoundRect(const IColor& color, const IRECT& bounds, float cornerRadius,
                                       const IBlend& blend)
{
  if (bounds.Empty())
    return;
  const double margin = kEdgeMargin / mScale;
  const PixelRect area =
      TouchedPixels(bounds.L - margin, bounds.T - margin, bounds.R + margin, bounds.B + margin);
  DrawCoverage(area, color, blend,
               [&](Gdiplus::Graphics& g, const Gdiplus::Color& white)
               {
                 Gdiplus::GraphicsPath path;
                 AddRoundRect(path, bounds, cornerRadius);
                 const Gdiplus::SolidBrush brush(white);
                 g.FillPath(&brush, &path);
               });
}

void GdiplusDrawContext::DrawRoundRect(const IColor& color, const IRECT& bounds, float cornerRadius,
                                       const IBlend& blend, float thickness)
{
  if (bounds.Empty() || !(thickness > 0.f))
    return;
  const double reach = thickness * 0.5 + kEdgeMargin / mScale;
  const PixelRect area =
      TouchedPixels(bounds.L - reach, bounds.T - reach, bounds.R + reach, bounds.B + reach);
  DrawCoverage(area, color, blend,
               [&](Gdiplus::Graphics& g, const Gdiplus::Color& white)
               {
                 Gdiplus::GraphicsPath path;
                 AddRoundRect(path, bounds, cornerRadius);
                 const Gdiplus::Pen pen(white, thickness);
                 g.DrawPath(&pen, &path);
               });
}

void GdiplusDrawContext::DrawText(const APIFont& font, const IText& text, const char* str,
                                  const IRECT& bounds, const IBlend& blend)
{
  if (!mDib || !str || !*str || !(text.mSize > 0.f))
    return;
  const std::wstring wide = WideText(str);
  if (wide.empty())
    return;
  const auto& face = static_cast<const GdiplusFont&>(font);
  const float size = text.mSize;
  // Text may reach beyond its box, as with cairo; only the clip bounds it.
  DrawCoverage(mClip, text.mFGColor, blend,
               [&](Gdiplus::Graphics& g, const Gdiplus::Color& white)
               {
                 const Gdiplus::Font gdiFont(&face.Family(), size, Gdiplus::FontStyleRegular,
                                             Gdiplus::UnitPixel);
                 Gdiplus::StringFormat format(Gdiplus::StringFormat::GenericTypographic());
                 UseTypographicLayout(format);
                 Gdiplus::RectF extent;
                 g.MeasureString(wide.c_str(), static_cast<INT>(wide.size()), &gdiFont,
                                 Gdiplus::PointF(0.f, 0.f), &format, &extent);
                 float x = bounds.L;
                 if (text.mAlign == EAlign::Center)
                   x = bounds.MW() - extent.Width * 0.5f;
                 else if (text.mAlign == EAlign::Far)
                   x = bounds.R - extent.Width;
                 float baseline = bounds.MH() + (face.Ascent() - face.Descent()) * size * 0.5f;
                 if (text.mVAlign == EVAlign::Top)
                   baseline = bounds.T + face.Ascent() * size;
                 else if (text.mVAlign == EVAlign::Bottom)
                   baseline = bounds.B - face.Descent() * size;
                 if (text.mAngle != 0.f)
                 {
                   g.TranslateTransform(bounds.MW(), bounds.MH());
                   g.RotateTransform(text.mAngle);
                   g.TranslateTransform(-bounds.MW(), -bounds.MH());
                 }
                 const Gdiplus::SolidBrush brush(white);
                 g.DrawString(wide.c_str(), static_cast<INT>(wide.size()), &gdiFont,
                              Gdiplus::PointF(x, baseline - face.CellAscent() * size), &format,
                              &brush);
               });
}

float GdiplusDrawContext::MeasureText(const APIFont& font, const IText& text, const char* str)
{
  if (!mLayerGraphics || !str || !*str || !(text.mSize > 0.f))
    return 0.f;
  const std::wstring wide = WideText(str);
  if (wide.empty())
    return 0.f;
  const auto& face = static_cast<const GdiplusFont&>(font);
  const Gdiplus::Font gdiFont(&face.Family(), text.mSize, Gdiplus::FontStyleRegular,
                              Gdiplus::UnitPixel);
  Gdiplus::StringFormat format(Gdiplus::StringFormat::GenericTypographic());
  UseTypographicLayout(format);
  Gdiplus::RectF extent;
  mLayerGraphics->MeasureString(wide.c_str(), static_cast<INT>(wide.size()), &gdiFont,
                                Gdiplus::PointF(0.f, 0.f), &format, &extent);
  return extent.Width;
}

std::unique_ptr<APIBitmap> GdiplusDrawContext::DecodePNG(std::span<const unsigned char> bytes)
{
  if (!mSession)
    return nullptr;
  return DecodePNGWithGdiplus(bytes);
}

std::unique_ptr<APIBitmap> GdiplusDrawContext::ScaleBitmap(const APIBitmap& source, int targetScale)
{
  const auto& image = static_cast<const GdiplusBitmap&>(source);
  if (!mSession || targetScale < 1)
    return nullptr;
  const int width = image.Width() / image.Scale() * targetScale;
  const int height = image.Height() / image.Scale() * targetScale;
  if (width <= 0 || height <= 0 || width > 0x7FFFFFFF / 4 / height)
    return nullptr;
  std::vector<uint32_t> pixels;
  try
  {
    pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
  }
  catch (const std::bad_alloc&)
  {
    return nullptr;
  }
  {
    Gdiplus::Bitmap target(width, height, width * 4, PixelFormat32bppPARGB,
                           reinterpret_cast<BYTE*>(pixels.data()));
    Gdiplus::Graphics g(&target);
    if (g.GetLastStatus() != Gdiplus::Ok)
      return nullptr;
    g.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
    g.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    Gdiplus::ImageAttributes edges;
    edges.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
    Gdiplus::Bitmap original = WrapPixels(image);
    if (g.DrawImage(&original, Gdiplus::Rect(0, 0, width, height), 0, 0, image.Width(),
                    image.Height(), Gdiplus::UnitPixel, &edges) != Gdiplus::Ok)
      return nullptr;
  }
  return std::make_unique<GdiplusBitmap>(width, height, targetScale, std::move(pixels));
}

std::unique_ptr<APIFont> GdiplusDrawContext::LoadFont(std::span<const unsigned char> bytes)
{
  return GdiplusFont::Load(bytes, mSession);
}

PixelView GdiplusDrawContext::Pixels()
{
  if (!mDib)
    return {};
  return {reinterpret_cast<const unsigned char*>(mDib->Bits()), mDib->Width(), mDib->Height(),
          mDib->Stride()};
}

bool GdiplusDrawContext::WritePNG(const char* path)
{
  return mDib && mSession &&
         WritePNGWithGdiplus(mDib->Bits(), mDib->Width(), mDib->Height(), mDib->Stride(), path);
}

} // namespace iplug::igraphics
