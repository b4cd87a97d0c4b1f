#pragma once

#include <filesystem>
#include <string>

namespace velmora::host
{

// The host keeps paths as UTF-8 text; a filesystem path made from a plain string would take the
// ANSI code page on Windows instead.
inline std::filesystem::path PathFromUtf8(const std::string& text)
{
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string Utf8FromPath(const std::filesystem::path& path)
{
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

} // namespace velmora::host
