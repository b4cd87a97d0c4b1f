#include "framework/clap/ClapPlatform.h"

namespace iplug::clap_platform
{

bool UsesHostRunLoop()
{
  return true;
}

bool OffersGui()
{
  return true;
}

} // namespace iplug::clap_platform
