#include "framework/graphics/GdiplusImageCodec.h"

#include "framework/graphics/GdiplusHeaders.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace iplug::igraphics
{

namespace
{

constexpr unsigned char kPNGSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

struct StreamRelease
{
  void operator()(IStream* stream) const { stream->Release(); }
};
using StreamPtr = std::unique_ptr<IStream, StreamRelease>;

// A stream over a copy of the bytes, which the stream frees.
StreamPtr StreamOver(std::span<const unsigned char> bytes)
{
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (!memory)
    return nullptr;
  void* data = GlobalLock(memory);
  if (!data)
  {
    GlobalFree(memory);
    return nullptr;
  }
  std::memcpy(data, bytes.data(), bytes.size());
  GlobalUnlock(memory);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream)))
  {
    GlobalFree(memory);
    return nullptr;
  }
  return StreamPtr(stream);
}

bool FindPNGEncoder(CLSID& clsid)
{
  UINT count = 0;
  UINT size = 0;
  if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0)
    return false;
  std::vector<unsigned char> buffer(size);
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  if (Gdiplus::GetImageEncoders(count, size, codecs) != Gdiplus::Ok)
    return false;
  const auto* png = std::find_if(codecs, codecs + count,
                                 [](const Gdiplus::ImageCodecInfo& c) {
                                   return c.MimeType && std::wcscmp(c.MimeType, L"image/png") == 0;
                                 });
  if (png == codecs + count)
    return false;
  clsid = png->Clsid;
  return true;
}

std::wstring WidePath(const char* path)
{
  for (const UINT codePage : {static_cast<UINT>(CP_UTF8), static_cast<UINT>(CP_ACP)})
  {
    const DWORD flags = codePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0;
    const int n = MultiByteToWideChar(codePage, flags, path, -1, nullptr, 0);
    if (n <= 0)
      continue;
    std::wstring wide(static_cast<size_t>(n), L'\0');
    if (MultiByteToWideChar(codePage, flags, path, -1, wide.data(), n) == n)
    {
      wide.resize(static_cast<size_t>(n - 1));
      return wide;
    }
  }
  return {};
}

} // namespace

std::unique_ptr<GdiplusBitmap> DecodePNGWithGdiplus(std::span<const unsigned char> bytes)
{
  if (bytes.size() < sizeof kPNGSignature ||
      !std::equal(std::begin(kPNGSignature), std::end(kPNGSignature), bytes.begin()))
    return nullptr;
  const StreamPtr stream = StreamOver(bytes);
  if (!stream)
    return nullptr;
  Gdiplus::Bitmap image(stream.get(), FALSE);
  if (image.GetLastStatus() != Gdiplus::Ok)
    return nullptr;
  const int width = static_cast<int>(image.GetWidth());
  const int height = static_cast<int>(image.GetHeight());
  if (width <= 0 || height <= 0)
    return nullptr;
  try
  {
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    Gdiplus::BitmapData data{};
    data.Width = static_cast<UINT>(width);
    data.Height = static_cast<UINT>(height);
    data.Stride = width * 4;
    data.PixelFormat = PixelFormat32bppPARGB;
    data.Scan0 = pixels.data();
    const Gdiplus::Rect whole(0, 0, width, height);
    if (image.LockBits(&whole, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                       PixelFormat32bppPARGB, &data) != Gdiplus::Ok)
      return nullptr;
    image.UnlockBits(&data);
    return std::make_unique<GdiplusBitmap>(width, height, 1, std::move(pixels));
  }
  catch (const std::bad_alloc&)
  {
    return nullptr;
  }
}

bool WritePNGWithGdiplus(const uint32_t* pixels, int width, int height, int stride,
                         const char* path)
{
  if (!pixels || !path || width <= 0 || height <= 0)
    return false;
  CLSID png{};
  const std::wstring widePath = WidePath(path);
  if (widePath.empty() || !FindPNGEncoder(png))
    return false;
  // GDI+ reads the pixels in place; it does not write to them when saving.
  Gdiplus::Bitmap image(width, height, stride, PixelFormat32bppRGB,
                        reinterpret_cast<BYTE*>(const_cast<uint32_t*>(pixels)));
  return image.GetLastStatus() == Gdiplus::Ok &&
         image.Save(widePath.c_str(), &png, nullptr) == Gdiplus::Ok;
}

} // namespace iplug::igraphics
