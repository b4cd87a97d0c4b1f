#pragma once

#include <string>

namespace iplug::platform
{

// The per-user folder where programs keep their settings, with a trailing separator; empty when
// the environment names none.
std::string UserConfigFolder();

} // namespace iplug::platform
