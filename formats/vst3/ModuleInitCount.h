#pragma once

namespace velmora::vst3
{

// The module's initialisation count: the host's entry calls not yet matched by exit calls.
// Hosts make both calls from one thread.
// One more entry; returns the count it brought about.
int EnterModule();
// One exit; true when the count is still 0 or above (an unmatched exit leaves it negative).
// Nothing is torn down: the host releases instances and the factory by reference count.
bool ExitModule();

} // namespace velmora::vst3
