#pragma once

// Text at the Win32 boundary, for the host's Windows-only files: the host keeps text as UTF-8,
// the wide Win32 functions take and give UTF-16.
#include <windows.h>

#include <string>

namespace velmora::host
{

inline std::wstring Utf16FromUtf8(const std::string& text)
{
  if (text.empty())
    return {};
  const int size =
      ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(size), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

inline std::string Utf8FromUtf16(const wchar_t* text)
{
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1)
    return {};
  std::string narrow(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text, -1, narrow.data(), size, nullptr, nullptr);
  narrow.pop_back(); // the terminating null
  return narrow;
}

// The system's description of an error code from GetLastError.
inline std::string SystemErrorText(DWORD code)
{
  wchar_t* buffer = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::string text = length > 0 ? Utf8FromUtf16(buffer) : std::string();
  ::LocalFree(buffer);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
    text.pop_back();
  return text + " (error " + std::to_string(code) + ")";
}

} // namespace velmora::host
