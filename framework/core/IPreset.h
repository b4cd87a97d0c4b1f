#pragma once

#include "framework/core/IByteChunk.h"

#include <string>

namespace iplug
{

// One entry of an instance's preset table. An uninitialised entry has no settings yet; the
// first time it is recalled it captures the settings in force instead.
struct IPreset
{
  static constexpr const char* kDefaultName = "empty";
  static constexpr size_t kMaxNameLength = 255;

  bool initialized = false;
  std::string name = kDefaultName;
  IByteChunk chunk;
};

} // namespace iplug
