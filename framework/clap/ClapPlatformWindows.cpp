#include "framework/clap/ClapPlatform.h"

namespace iplug::clap_platform
{

bool UsesHostRunLoop()
{
  return false;
}

bool OffersGui()
{
  return false;
}

} // namespace iplug::clap_platform
