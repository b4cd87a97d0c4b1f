#include "framework/clap/IPlugCLAP.h"

namespace iplug
{

using namespace clapabi;

uint32_t IPlugCLAP::LatencyGet(const clap_plugin* plugin)
{
  IPlugCLAP* self = Self(plugin);
  if (!self)
    return 0;
  self->ServiceMainThread();
  const int latency = self->mAppliedLatency.load();
  return latency > 0 ? static_cast<uint32_t>(latency) : 0;
}

// The plug-in sets no tail.
uint32_t IPlugCLAP::TailGet(const clap_plugin*)
{
  return 0;
}

bool IPlugCLAP::RenderHasHardRealtimeRequirement(const clap_plugin*)
{
  return false;
}

bool IPlugCLAP::RenderSet(const clap_plugin* plugin, clap_plugin_render_mode mode)
{
  IPlugCLAP* self = Self(plugin);
  if (!self)
    return false;
  self->SetRenderingOffline(mode == CLAP_RENDER_OFFLINE);
  return true;
}

const clap_plugin_latency IPlugCLAP::kLatencyExt{&IPlugCLAP::LatencyGet};
const clap_plugin_tail IPlugCLAP::kTailExt{&IPlugCLAP::TailGet};
const clap_plugin_render IPlugCLAP::kRenderExt{&IPlugCLAP::RenderHasHardRealtimeRequirement,
                                               &IPlugCLAP::RenderSet};

} // namespace iplug
