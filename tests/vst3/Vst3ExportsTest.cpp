#include "tests/vst3/Vst3TestSupport.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>
#include <set>
#include <sstream>

namespace velmora::test
{
namespace
{

std::set<std::string> DefinedDynamicSymbols(const std::string& path)
{
  const std::string command = "nm -D --defined-only '" + path + "'";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::set<std::string> names;
  if (!pipe)
    return names;
  std::array<char, 512> line{};
  while (fgets(line.data(), static_cast<int>(line.size()), pipe.get()))
  {
    std::istringstream fields(line.data());
    std::string address, type, name;
    if (fields >> address >> type >> name)
      names.insert(name);
  }
  return names;
}

TEST(Vst3Exports, ModuleExportsExactlyTheThreeEntryPoints)
{
  const std::set<std::string> expected{"GetPluginFactory", "ModuleEntry", "ModuleExit"};
  EXPECT_EQ(DefinedDynamicSymbols(kBinaryPath), expected);
}

// Entry and exit are counted: only an exit without a matching entry reports failure.
TEST(Vst3Exports, EntryAndExitAreCounted)
{
  void* handle = dlopen(kBinaryPath, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(handle, nullptr) << dlerror();
  const auto entry = reinterpret_cast<bool (*)(void*)>(dlsym(handle, "ModuleEntry"));
  const auto exit = reinterpret_cast<bool (*)()>(dlsym(handle, "ModuleExit"));
  ASSERT_NE(entry, nullptr);
  ASSERT_NE(exit, nullptr);

  EXPECT_TRUE(entry(handle));
  EXPECT_TRUE(entry(handle));
  EXPECT_TRUE(exit());        // count 1
  EXPECT_TRUE(exit());        // count 0
  EXPECT_FALSE(exit());       // unmatched: count -1
  EXPECT_TRUE(entry(handle)); // count 0
  EXPECT_FALSE(exit());       // unmatched again
  EXPECT_TRUE(entry(handle)); // balanced for whoever loads the module next
  dlclose(handle);
}

} // namespace
} // namespace velmora::test
