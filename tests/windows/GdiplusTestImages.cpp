#include "tests/windows/GdiplusTestImages.h"

#include "framework/graphics/GdiplusHeaders.h"

#include <cstring>
#include <cwchar>

namespace velmora::test
{

std::vector<unsigned char> EncodePNG(int w, int h, const std::vector<uint32_t>& argb)
{
  Gdiplus::Bitmap image(w, h, w * 4, PixelFormat32bppARGB,
                        reinterpret_cast<BYTE*>(const_cast<uint32_t*>(argb.data())));
  UINT count = 0;
  UINT size = 0;
  Gdiplus::GetImageEncodersSize(&count, &size);
  std::vector<unsigned char> codecBytes(size);
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(codecBytes.data());
  Gdiplus::GetImageEncoders(count, size, codecs);
  const Gdiplus::ImageCodecInfo* png = nullptr;
  for (UINT i = 0; i < count; ++i)
    if (std::wcscmp(codecs[i].MimeType, L"image/png") == 0)
      png = &codecs[i];
  IStream* stream = nullptr;
  std::vector<unsigned char> bytes;
  if (!png || FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)))
    return bytes;
  if (image.Save(stream, &png->Clsid, nullptr) == Gdiplus::Ok)
  {
    HGLOBAL memory = nullptr;
    GetHGlobalFromStream(stream, &memory);
    STATSTG stat{};
    stream->Stat(&stat, STATFLAG_NONAME);
    const auto* data = static_cast<const unsigned char*>(GlobalLock(memory));
    bytes.assign(data, data + stat.cbSize.QuadPart);
    GlobalUnlock(memory);
  }
  stream->Release();
  return bytes;
}

} // namespace velmora::test
