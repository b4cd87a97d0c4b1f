#include "tools/host/CommandLine.h"

#include "tools/host/WindowsText.h"

#include <shellapi.h>

#include <memory>

namespace velmora::host
{

namespace
{

struct LocalFreer
{
  void operator()(wchar_t** words) const { ::LocalFree(words); }
};

} // namespace

std::vector<std::string> CommandLineWords(int, char**)
{
  int count = 0;
  const std::unique_ptr<wchar_t*, LocalFreer> words(
      ::CommandLineToArgvW(::GetCommandLineW(), &count));
  std::vector<std::string> utf8;
  for (int i = 1; words && i < count; ++i)
    utf8.push_back(Utf8FromUtf16(words.get()[i]));
  return utf8;
}

} // namespace velmora::host
