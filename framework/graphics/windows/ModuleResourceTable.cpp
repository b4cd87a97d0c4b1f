#include "framework/graphics/windows/ModuleResourceTable.h"

namespace iplug::igraphics
{

namespace
{

constexpr const char* kResourceTypes[] = {"PNG", "TTF"};

BOOL CALLBACK CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR names)
{
  // Only named resources: a numbered one has no file name to be found by.
  if (!IS_INTRESOURCE(name))
    reinterpret_cast<std::vector<std::string>*>(names)->emplace_back(name);
  return TRUE;
}

} // namespace

ModuleResourceTable::ModuleResourceTable(HMODULE module)
{
  if (!module)
    return;
  for (const char* type : kResourceTypes)
    AddResourcesOfType(module, type);
}

void ModuleResourceTable::AddResourcesOfType(HMODULE module, const char* type)
{
  std::vector<std::string> names;
  EnumResourceNamesA(module, type, &CollectName, reinterpret_cast<LONG_PTR>(&names));
  for (std::string& name : names)
  {
    HRSRC found = FindResourceA(module, name.c_str(), type);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    const DWORD size = found ? SizeofResource(module, found) : 0;
    if (!bytes || size == 0)
      continue;
    mNames.push_back(std::move(name));
    mEntries.push_back({mNames.back(), {static_cast<const unsigned char*>(bytes), size}});
  }
}

} // namespace iplug::igraphics
