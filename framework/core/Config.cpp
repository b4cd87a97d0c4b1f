#include "framework/core/Config.h"

namespace iplug
{

std::string VersionText(int versionWord)
{
  const auto word = static_cast<uint32_t>(versionWord);
  return std::to_string(word >> 16) + "." + std::to_string((word >> 8) & 0xFF) + "." +
         std::to_string(word & 0xFF);
}

} // namespace iplug
