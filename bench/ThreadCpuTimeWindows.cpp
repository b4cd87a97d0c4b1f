#include "bench/ThreadCpuTime.h"

#include <windows.h>

namespace velmora::bench
{

double ThreadCpuMilliseconds()
{
  FILETIME created{}, exited{}, kernel{}, user{};
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  const auto ticks = [](const FILETIME& f)
  { return (static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime; };
  // 100-nanosecond units.
  return (ticks(kernel) + ticks(user)) * 1e-4;
}

} // namespace velmora::bench
