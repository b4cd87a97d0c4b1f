#include "tools/host/clap/ClapEditRecorder.h"

namespace velmora::host
{

using namespace clapabi;

ClapEditRecorder::ClapEditRecorder()
{
  mOutput.ctx = this;
  mOutput.try_push = &ClapEditRecorder::TryPush;
}

std::vector<HostEdit> ClapEditRecorder::Take()
{
  std::vector<HostEdit> edits;
  HostEdit edit;
  while (mEdits.Pop(edit))
    edits.push_back(edit);
  return edits;
}

bool ClapEditRecorder::TryPush(const clap_output_events* list, const clap_event_header* event)
{
  if (!list || !event)
    return false;
  if (event->space_id != CLAP_CORE_EVENT_SPACE_ID)
    return true;
  auto* self = static_cast<ClapEditRecorder*>(list->ctx);
  switch (event->type)
  {
  case CLAP_EVENT_PARAM_GESTURE_BEGIN:
  case CLAP_EVENT_PARAM_GESTURE_END:
  {
    if (event->size < sizeof(clap_event_param_gesture))
      return false;
    const auto* gesture = reinterpret_cast<const clap_event_param_gesture*>(event);
    const HostEdit::Kind kind =
        event->type == CLAP_EVENT_PARAM_GESTURE_BEGIN ? HostEdit::Kind::Begin : HostEdit::Kind::End;
    return self->mEdits.Push({kind, gesture->param_id, 0.0});
  }
  case CLAP_EVENT_PARAM_VALUE:
  {
    if (event->size < sizeof(clap_event_param_value))
      return false;
    const auto* value = reinterpret_cast<const clap_event_param_value*>(event);
    return self->mEdits.Push({HostEdit::Kind::Value, value->param_id, value->value});
  }
  default:
    return true;
  }
}

} // namespace velmora::host
