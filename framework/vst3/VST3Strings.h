#pragma once

#include "pluginterfaces/base/ftypes.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace iplug
{

// Copies UTF-8 text into a fixed-width zero-terminated UTF-16 field, truncating to width - 1
// characters and zero-filling the rest.
void CopyToUTF16(std::string_view text, Steinberg::char16* dest, size_t width);

// Copies text into a fixed-width zero-terminated char field the same way.
void CopyToFixed(std::string_view text, char* dest, size_t width);

// UTF-16 text (zero-terminated, at most maxChars read) as UTF-8; unpaired surrogates become '?'.
std::string UTF16ToUTF8(const Steinberg::char16* text, size_t maxChars);

template <size_t N> void CopyToUTF16(std::string_view text, Steinberg::char16 (&dest)[N])
{
  CopyToUTF16(text, dest, N);
}

template <size_t N> void CopyToFixed(std::string_view text, char (&dest)[N])
{
  CopyToFixed(text, dest, N);
}

} // namespace iplug
