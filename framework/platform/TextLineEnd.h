#pragma once

#include <string_view>

namespace iplug::platform
{

// How the platform's text files end a line, for the files the plug-in writes for its users.
#if defined(_WIN32)
inline constexpr std::string_view kTextLineEnd = "\r\n";
#else
inline constexpr std::string_view kTextLineEnd = "\n";
#endif

} // namespace iplug::platform
