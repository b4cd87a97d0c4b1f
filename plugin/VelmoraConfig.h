#pragma once

#include "framework/core/Config.h"

namespace velmora
{

// The product identifier used for per-user preferences.
inline constexpr const char* kProductId = "velmora";
inline constexpr int kNumPresets = 1;
inline constexpr const char* kMakerUrl = "https://www.corvaneaudio.com";
inline constexpr const char* kMakerEmail = "support@corvaneaudio.com";
// Reverse-domain identifier under which CLAP hosts know the plug-in.
inline constexpr const char* kClapPluginId = "com.corvaneaudio.velmora";
inline constexpr int kEditorWidth = 650;
inline constexpr int kEditorHeight = 400;

iplug::Config MakeVelmoraConfig();

} // namespace velmora
