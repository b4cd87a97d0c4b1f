#pragma once

namespace velmora::bench
{

// Processor time the calling thread has used, in milliseconds.
double ThreadCpuMilliseconds();

} // namespace velmora::bench
