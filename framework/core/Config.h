#pragma once

#include <cstdint>
#include <string>

namespace iplug
{

enum class EPlugType
{
  Effect,
  Instrument,
  MIDIEffect
};

// Everything a plug-in tells the framework about itself, handed over once at construction.
struct Config
{
  int nParams = 0;
  int nPresets = 0;
  const char* channelIOStr = "";
  const char* pluginName = "";
  const char* productName = "";
  const char* mfrName = "";
  int vendorVersion = 0;
  int uniqueID = 0;
  int mfrID = 0;
  int latency = 0;
  bool plugDoesMidiIn = false;
  bool plugDoesMidiOut = false;
  bool plugDoesMPE = false;
  EPlugType plugType = EPlugType::Effect;
  bool plugHasUI = false;
  int plugWidth = 0;
  int plugHeight = 0;
  int plugMinWidth = 0;
  int plugMaxWidth = 0;
  int plugMinHeight = 0;
  int plugMaxHeight = 0;
  bool plugHostResize = false;
  const char* bundleID = "";
  const char* appGroupID = "";
};

// Packs four characters into a 32-bit word, first character in the top byte.
constexpr int MakeFourCC(const char (&code)[5])
{
  return static_cast<int>((static_cast<uint32_t>(static_cast<unsigned char>(code[0])) << 24) |
                          (static_cast<uint32_t>(static_cast<unsigned char>(code[1])) << 16) |
                          (static_cast<uint32_t>(static_cast<unsigned char>(code[2])) << 8) |
                          static_cast<uint32_t>(static_cast<unsigned char>(code[3])));
}

// A version word holds major in the upper 16 bits, minor in bits 8-15, patch in bits 0-7.
constexpr int MakeVersion(int major, int minor, int patch)
{
  return (major << 16) | ((minor & 0xFF) << 8) | (patch & 0xFF);
}

std::string VersionText(int versionWord);

} // namespace iplug
