#pragma once

#include "framework/clap/ClapCore.h"

#include <vector>

namespace velmora::host
{

// Events a host hands the plug-in with one block or flush, kept in time order, and an output
// list that accepts and drops whatever the plug-in sends back.
class ClapEventList
{
public:
  ClapEventList();
  ClapEventList(const ClapEventList&) = delete;
  ClapEventList& operator=(const ClapEventList&) = delete;

  void AddParamValue(uint32_t time, clapabi::clap_id paramId, double value);
  // Any event, as given: for hosts that send headers the plug-in does not know.
  void AddRaw(const clapabi::clap_event_header& header);
  void Clear() { mEvents.clear(); }
  // Reserves room so that adding up to n events never allocates.
  void Reserve(size_t n) { mEvents.reserve(n); }

  const clapabi::clap_input_events* Input() const { return &mInput; }
  const clapabi::clap_output_events* Output() const { return &mOutput; }

private:
  // Large enough for every event kind this host sends.
  union Slot
  {
    clapabi::clap_event_header header;
    clapabi::clap_event_param_value paramValue;
  };

  static uint32_t Size(const clapabi::clap_input_events* list);
  static const clapabi::clap_event_header* Get(const clapabi::clap_input_events* list,
                                               uint32_t index);
  static bool TryPush(const clapabi::clap_output_events* list,
                      const clapabi::clap_event_header* event);
  void Insert(const Slot& slot);

  std::vector<Slot> mEvents;
  clapabi::clap_input_events mInput{};
  clapabi::clap_output_events mOutput{};
};

} // namespace velmora::host
