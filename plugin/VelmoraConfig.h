#pragma once

#include "framework/core/Config.h"

namespace velmora
{

// The product identifier used for per-user preferences.
inline constexpr const char* kProductId = "velmora";
inline constexpr int kNumPresets = 1;
inline constexpr int kEditorWidth = 650;
inline constexpr int kEditorHeight = 400;

iplug::Config MakeVelmoraConfig();

} // namespace velmora
