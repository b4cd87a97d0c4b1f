#pragma once

#include <string_view>
#include <vector>

namespace iplug
{

// One supported channel layout: nIn input channels feeding nOut output channels.
struct IOConfig
{
  int nIn = 0;
  int nOut = 0;

  bool operator==(const IOConfig&) const = default;
};

// Parses a channel I/O string such as "1-1 2-2"; malformed entries are skipped.
std::vector<IOConfig> ParseChannelIOStr(std::string_view text);

} // namespace iplug
