#pragma once

#include "framework/graphics/ResourceEntry.h"

#include "framework/platform/windows/Win32Headers.h"

#include <deque>
#include <span>
#include <string>
#include <vector>

namespace iplug::igraphics
{

// The images and fonts that a Windows module carries as resources of types "PNG" and "TTF", as
// a table of entries named as the resources are (upper case; looked up without regard to case).
// The bytes stay in the loaded module, so the table holds while the module is loaded.
class ModuleResourceTable
{
public:
  explicit ModuleResourceTable(HMODULE module);
  ModuleResourceTable(const ModuleResourceTable&) = delete;
  ModuleResourceTable& operator=(const ModuleResourceTable&) = delete;

  std::span<const ResourceEntry> Entries() const { return mEntries; }

private:
  void AddResourcesOfType(HMODULE module, const char* type);

  std::deque<std::string> mNames;
  std::vector<ResourceEntry> mEntries;
};

} // namespace iplug::igraphics
