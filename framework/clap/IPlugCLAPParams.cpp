#include "framework/clap/IPlugCLAP.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace iplug
{

using namespace clapabi;

namespace
{

// Copies text into a fixed-size field, always terminated, cut short when it does not fit.
void CopyText(char* dst, size_t capacity, const char* src)
{
  if (capacity == 0)
    return;
  const size_t n = std::min(std::strlen(src), capacity - 1);
  std::memcpy(dst, src, n);
  dst[n] = '\0';
}

} // namespace

uint32_t IPlugCLAP::ParamsCount(const clap_plugin* plugin)
{
  const IPlugCLAP* self = Self(plugin);
  return self ? static_cast<uint32_t>(self->NParams()) : 0;
}

bool IPlugCLAP::ParamsGetInfo(const clap_plugin* plugin, uint32_t index, clap_param_info* info)
{
  const IPlugCLAP* self = Self(plugin);
  if (!self || !info || index >= static_cast<uint32_t>(self->NParams()))
    return false;
  const IParam& param = *self->GetParam(static_cast<int>(index));
  *info = clap_param_info{};
  info->id = index;
  info->flags = CLAP_PARAM_REQUIRES_PROCESS;
  if (param.GetCanAutomate())
    info->flags |= CLAP_PARAM_IS_AUTOMATABLE;
  CopyText(info->name, sizeof(info->name), param.GetName());
  if (UsesRealRange(param))
  {
    info->flags |= CLAP_PARAM_IS_STEPPED;
    info->min_value = param.GetMin();
    info->max_value = param.GetMax();
    info->default_value = param.GetDefault();
  }
  else
  {
    info->min_value = 0.0;
    info->max_value = 1.0;
    info->default_value = param.GetDefault(true);
  }
  return true;
}

bool IPlugCLAP::ParamsGetValue(const clap_plugin* plugin, clap_id id, double* value)
{
  IPlugCLAP* self = Self(plugin);
  if (!self || !value || id >= static_cast<uint32_t>(self->NParams()))
    return false;
  self->ServiceMainThread();
  const IParam& param = *self->GetParam(static_cast<int>(id));
  *value = UsesRealRange(param) ? param.Value() : param.GetNormalized();
  return true;
}

bool IPlugCLAP::ParamsValueToText(const clap_plugin* plugin, clap_id id, double value, char* buffer,
                                  uint32_t capacity)
{
  const IPlugCLAP* self = Self(plugin);
  if (!self || !buffer || capacity == 0 || id >= static_cast<uint32_t>(self->NParams()) ||
      std::isnan(value))
    return false;
  const IParam& param = *self->GetParam(static_cast<int>(id));
  const double real = param.Constrain(UsesRealRange(param) ? value : param.FromNormalized(value));
  CopyText(buffer, capacity, param.GetDisplay(real, true).c_str());
  return true;
}

bool IPlugCLAP::ParamsTextToValue(const clap_plugin* plugin, clap_id id, const char* text,
                                  double* value)
{
  const IPlugCLAP* self = Self(plugin);
  if (!self || !text || !value || id >= static_cast<uint32_t>(self->NParams()))
    return false;
  const IParam& param = *self->GetParam(static_cast<int>(id));
  double real = 0.0;
  if (!param.StringToValue(text, real))
    return false;
  *value = UsesRealRange(param) ? real : param.ToNormalized(real);
  return true;
}

const clap_plugin_params IPlugCLAP::kParamsExt{
    &IPlugCLAP::ParamsCount,       &IPlugCLAP::ParamsGetInfo,     &IPlugCLAP::ParamsGetValue,
    &IPlugCLAP::ParamsValueToText, &IPlugCLAP::ParamsTextToValue, &IPlugCLAP::ParamsFlush,
};

} // namespace iplug
