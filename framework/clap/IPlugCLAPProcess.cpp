#include "framework/clap/IPlugCLAP.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace iplug
{

using namespace clapabi;

namespace
{

uint32_t EventCount(const clap_input_events* in)
{
  return in && in->size ? in->size(in) : 0;
}

const clap_event_header* EventAt(const clap_input_events* in, uint32_t index)
{
  return in->get ? in->get(in, index) : nullptr;
}

// The first port's buffer, when the host supplied one.
const clap_audio_buffer* FirstPort(const clap_audio_buffer* ports, uint32_t count)
{
  return ports && count > 0 ? ports : nullptr;
}

} // namespace

bool IPlugCLAP::UsesRealRange(const IParam& param)
{
  return param.Type() == IParam::kTypeBool || param.GetStepped();
}

void IPlugCLAP::ApplyEvent(const clap_event_header* header, int sampleOffset)
{
  if (!header || header->space_id != CLAP_CORE_EVENT_SPACE_ID ||
      header->type != CLAP_EVENT_PARAM_VALUE || header->size < sizeof(clap_event_param_value))
    return;
  const auto* event = reinterpret_cast<const clap_event_param_value*>(header);
  if (event->param_id >= static_cast<uint32_t>(NParams()) || std::isnan(event->value))
    return;
  const int paramIdx = static_cast<int>(event->param_id);
  IParam* param = GetParam(paramIdx);
  if (UsesRealRange(*param))
    param->Set(event->value);
  else
    param->SetNormalized(event->value);
  mParamChanges.Push(paramIdx);
  OnParamChange(paramIdx, EParamSource::kHost, sampleOffset);
}

void IPlugCLAP::ApplyEvents(const clap_input_events* in)
{
  const uint32_t count = EventCount(in);
  for (uint32_t i = 0; i < count; ++i)
  {
    const clap_event_header* header = EventAt(in, i);
    ApplyEvent(header, header ? static_cast<int>(std::min<uint32_t>(header->time, INT32_MAX)) : 0);
  }
}

clap_process_status IPlugCLAP::Process(const clap_process& process)
{
  WriteUIEdits(process.out_events);
  const uint32_t nFrames = process.frames_count;
  const uint32_t nEvents = EventCount(process.in_events);
  uint32_t eventIdx = 0;
  uint32_t pos = 0;
  // Each event takes effect at its own sample: the block is split at every event time, and
  // events timed at or past the block's end are applied after its last sample.
  for (;;)
  {
    uint32_t nextEventTime = nFrames;
    while (eventIdx < nEvents)
    {
      const clap_event_header* header = EventAt(process.in_events, eventIdx);
      const uint32_t time = header ? header->time : pos;
      if (time > pos && pos < nFrames)
      {
        nextEventTime = std::min(time, nFrames);
        break;
      }
      ApplyEvent(header, static_cast<int>(std::min<uint32_t>(pos, INT32_MAX)));
      ++eventIdx;
    }
    if (pos >= nFrames)
      break;
    const uint32_t slice = std::min(nextEventTime - pos, mSliceFrames);
    ProcessSlice(process, pos, slice);
    pos += slice;
  }
  return CLAP_PROCESS_CONTINUE;
}

void IPlugCLAP::ProcessSlice(const clap_process& process, uint32_t offset, uint32_t nFrames)
{
  const clap_audio_buffer* in = FirstPort(process.audio_inputs, process.audio_inputs_count);
  const clap_audio_buffer* out = FirstPort(process.audio_outputs, process.audio_outputs_count);
  const int nIn = std::min(NInChansConnected(), kMaxChannels);
  const int nOut = std::min(NOutChansConnected(), kMaxChannels);
  const size_t n = nFrames;
  std::array<double*, kMaxChannels> inputs{};
  std::array<double*, kMaxChannels> outputs{};

  // Host channels that are missing read as silence; 32-bit ones are converted on the way.
  for (int c = 0; c < nIn; ++c)
  {
    const auto ch = static_cast<uint32_t>(c);
    double* scratch = mInputScratch.data() + static_cast<size_t>(c) * mSliceFrames;
    inputs[static_cast<size_t>(c)] = mSilence.data();
    if (!in || ch >= in->channel_count)
      continue;
    if (in->data64 && in->data64[c])
      inputs[static_cast<size_t>(c)] = in->data64[c] + offset;
    else if (in->data32 && in->data32[c])
    {
      std::copy_n(in->data32[c] + offset, n, scratch);
      inputs[static_cast<size_t>(c)] = scratch;
    }
  }
  for (int c = 0; c < nOut; ++c)
  {
    const auto ch = static_cast<uint32_t>(c);
    double* scratch = mOutputScratch.data() + static_cast<size_t>(c) * mSliceFrames;
    outputs[static_cast<size_t>(c)] =
        out && ch < out->channel_count && out->data64 && out->data64[c] ? out->data64[c] + offset
                                                                        : scratch;
  }

  ProcessBlock(inputs.data(), outputs.data(), static_cast<int>(nFrames));

  if (!out)
    return;
  for (uint32_t c = 0; c < out->channel_count; ++c)
  {
    const bool processed = c < static_cast<uint32_t>(nOut);
    if (out->data64 && out->data64[c])
    {
      if (!processed)
        std::fill_n(out->data64[c] + offset, n, 0.0);
    }
    else if (out->data32 && out->data32[c])
    {
      float* dst = out->data32[c] + offset;
      if (processed)
      {
        const double* src = outputs[c];
        for (size_t i = 0; i < n; ++i)
          dst[i] = static_cast<float>(src[i]);
      }
      else
        std::fill_n(dst, n, 0.0f);
    }
  }
}

void IPlugCLAP::ParamsFlush(const clap_plugin* plugin, const clap_input_events* in,
                            const clap_output_events* out)
{
  if (IPlugCLAP* self = Self(plugin))
  {
    self->ApplyEvents(in);
    self->WriteUIEdits(out);
  }
}

} // namespace iplug
