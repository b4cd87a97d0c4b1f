#include "framework/vst3/VST3Strings.h"

#include <algorithm>
#include <cstring>

namespace iplug
{

namespace
{

// Decodes one UTF-8 sequence starting at text[i]; malformed input yields U+FFFD.
char32_t DecodeUTF8(std::string_view text, size_t& i)
{
  const auto lead = static_cast<unsigned char>(text[i++]);
  if (lead < 0x80)
    return lead;
  int extra = 0;
  char32_t cp = 0;
  if ((lead & 0xE0) == 0xC0)
  {
    extra = 1;
    cp = lead & 0x1F;
  }
  else if ((lead & 0xF0) == 0xE0)
  {
    extra = 2;
    cp = lead & 0x0F;
  }
  else if ((lead & 0xF8) == 0xF0)
  {
    extra = 3;
    cp = lead & 0x07;
  }
  else
    return 0xFFFD;
  for (int k = 0; k < extra; ++k)
  {
    if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
      return 0xFFFD;
    cp = (cp << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
  }
  return cp > 0x10FFFF ? 0xFFFD : cp;
}

void AppendUTF8(char32_t cp, std::string& out)
{
  if (cp < 0x80)
    out += static_cast<char>(cp);
  else if (cp < 0x800)
  {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
  else if (cp < 0x10000)
  {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
  else
  {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

} // namespace

void CopyToUTF16(std::string_view text, Steinberg::char16* dest, size_t width)
{
  if (!dest || width == 0)
    return;
  size_t out = 0;
  size_t i = 0;
  while (i < text.size())
  {
    const char32_t cp = DecodeUTF8(text, i);
    if (cp >= 0x10000)
    {
      if (out + 2 > width - 1)
        break;
      const char32_t v = cp - 0x10000;
      dest[out++] = static_cast<Steinberg::char16>(0xD800 + (v >> 10));
      dest[out++] = static_cast<Steinberg::char16>(0xDC00 + (v & 0x3FF));
    }
    else
    {
      if (out + 1 > width - 1)
        break;
      dest[out++] = static_cast<Steinberg::char16>(cp);
    }
  }
  std::fill(dest + out, dest + width, Steinberg::char16{0});
}

void CopyToFixed(std::string_view text, char* dest, size_t width)
{
  if (!dest || width == 0)
    return;
  const size_t n = std::min(text.size(), width - 1);
  std::memcpy(dest, text.data(), n);
  std::memset(dest + n, 0, width - n);
}

std::string UTF16ToUTF8(const Steinberg::char16* text, size_t maxChars)
{
  std::string out;
  if (!text)
    return out;
  for (size_t i = 0; i < maxChars && text[i] != 0; ++i)
  {
    const auto unit = static_cast<char32_t>(text[i]);
    if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < maxChars)
    {
      const auto low = static_cast<char32_t>(text[i + 1]);
      if (low >= 0xDC00 && low < 0xE000)
      {
        AppendUTF8(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00), out);
        ++i;
        continue;
      }
    }
    if (unit >= 0xD800 && unit < 0xE000)
      out += '?';
    else
      AppendUTF8(unit, out);
  }
  return out;
}

} // namespace iplug
