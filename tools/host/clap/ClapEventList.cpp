#include "tools/host/clap/ClapEventList.h"

#include <algorithm>

namespace velmora::host
{

using namespace clapabi;

ClapEventList::ClapEventList()
{
  mInput.ctx = this;
  mInput.size = &ClapEventList::Size;
  mInput.get = &ClapEventList::Get;
  mOutput.ctx = this;
  mOutput.try_push = &ClapEventList::TryPush;
}

void ClapEventList::Insert(const Slot& slot)
{
  // Stable: events of equal time keep the order in which they were added.
  const auto pos =
      std::upper_bound(mEvents.begin(), mEvents.end(), slot.header.time,
                       [](uint32_t time, const Slot& other) { return time < other.header.time; });
  mEvents.insert(pos, slot);
}

void ClapEventList::AddParamValue(uint32_t time, clap_id paramId, double value)
{
  Slot slot{};
  slot.paramValue.header = {sizeof(clap_event_param_value), time, CLAP_CORE_EVENT_SPACE_ID,
                            CLAP_EVENT_PARAM_VALUE, 0};
  slot.paramValue.param_id = paramId;
  slot.paramValue.cookie = nullptr;
  slot.paramValue.note_id = -1;
  slot.paramValue.port_index = -1;
  slot.paramValue.channel = -1;
  slot.paramValue.key = -1;
  slot.paramValue.value = value;
  Insert(slot);
}

void ClapEventList::AddRaw(const clap_event_header& header)
{
  Slot slot{};
  slot.header = header;
  Insert(slot);
}

uint32_t ClapEventList::Size(const clap_input_events* list)
{
  return static_cast<uint32_t>(static_cast<const ClapEventList*>(list->ctx)->mEvents.size());
}

const clap_event_header* ClapEventList::Get(const clap_input_events* list, uint32_t index)
{
  const auto* self = static_cast<const ClapEventList*>(list->ctx);
  return index < self->mEvents.size() ? &self->mEvents[index].header : nullptr;
}

bool ClapEventList::TryPush(const clap_output_events*, const clap_event_header*)
{
  return true;
}

} // namespace velmora::host
