// The Linux module's dynamic symbols, as the loader sees them.
#include "tests/clap/ClapTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

namespace
{

using velmora::test::ClapModulePath;

TEST(ClapModuleExports, OnlyEntryAndFactoryAreExported)
{
  const std::string command = std::string("nm -D --defined-only '") + ClapModulePath() + "'";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::set<std::string> symbols;
  char line[512];
  while (std::fgets(line, sizeof(line), pipe))
  {
    std::string text = line;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
      text.pop_back();
    symbols.insert(text.substr(text.find_last_of(' ') + 1));
  }
  ASSERT_EQ(pclose(pipe), 0);
  EXPECT_EQ(symbols, (std::set<std::string>{"clap_entry", "clap_factory"}));
}

} // namespace
