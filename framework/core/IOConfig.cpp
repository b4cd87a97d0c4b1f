#include "framework/core/IOConfig.h"

#include <charconv>

namespace iplug
{
namespace
{

bool ParseCount(std::string_view text, int& out)
{
  if (text.empty())
    return false;
  const auto* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, out);
  return result.ec == std::errc() && result.ptr == end && out >= 0 && out <= 64;
}

} // namespace

std::vector<IOConfig> ParseChannelIOStr(std::string_view text)
{
  std::vector<IOConfig> configs;
  size_t pos = 0;
  while (pos < text.size())
  {
    const size_t start = text.find_first_not_of(' ', pos);
    if (start == std::string_view::npos)
      break;
    const size_t stop = std::min(text.find(' ', start), text.size());
    const std::string_view token = text.substr(start, stop - start);
    pos = stop;

    const size_t dash = token.find('-');
    IOConfig config;
    if (dash != std::string_view::npos && ParseCount(token.substr(0, dash), config.nIn) &&
        ParseCount(token.substr(dash + 1), config.nOut))
      configs.push_back(config);
  }
  return configs;
}

} // namespace iplug
