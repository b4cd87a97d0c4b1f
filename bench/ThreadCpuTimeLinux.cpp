#include "bench/ThreadCpuTime.h"

#include <ctime>

namespace velmora::bench
{

double ThreadCpuMilliseconds()
{
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec * 1e-6;
}

} // namespace velmora::bench
