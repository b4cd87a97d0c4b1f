#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace iplug
{
namespace igraphics
{

// One file that a module carries inside itself (an image or a font), found by its file name.
struct ResourceEntry
{
  std::string_view name;
  std::span<const unsigned char> bytes;
};

// The module's own table of resources. The module defines it (the build generates it from the
// files it embeds); the graphics context looks names up in it without regard to case.
std::span<const ResourceEntry> ModuleResources();

} // namespace igraphics
} // namespace iplug
