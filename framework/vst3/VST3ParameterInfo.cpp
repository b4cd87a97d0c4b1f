#include "framework/vst3/VST3ParameterInfo.h"

#include "framework/vst3/VST3Strings.h"

#include <algorithm>
#include <cmath>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace iplug
{

ParameterInfo MakeParameterInfo(const IParam& param, ParamID id)
{
  ParameterInfo info{};
  info.id = id;
  CopyToUTF16(param.GetName(), info.title);
  CopyToUTF16(param.GetName(), info.shortTitle);
  CopyToUTF16(param.GetLabel(), info.units);
  info.stepCount = param.GetStepCount();
  info.defaultNormalizedValue = param.GetDefault(true);
  info.unitId = kRootUnitId;
  info.flags = param.GetCanAutomate() ? ParameterInfo::kCanAutomate : ParameterInfo::kNoFlags;
  return info;
}

ParameterInfo MakeBypassParameterInfo()
{
  ParameterInfo info{};
  info.id = kBypassParamId;
  CopyToUTF16("Bypass", info.title);
  CopyToUTF16("Bypass", info.shortTitle);
  info.stepCount = 1;
  info.defaultNormalizedValue = 0.0;
  info.unitId = kRootUnitId;
  info.flags = ParameterInfo::kCanAutomate | ParameterInfo::kIsList | ParameterInfo::kIsBypass;
  return info;
}

ParameterInfo MakePresetParameterInfo(int nPresets)
{
  ParameterInfo info{};
  info.id = kPresetParamId;
  CopyToUTF16("Preset", info.title);
  CopyToUTF16("Preset", info.shortTitle);
  info.stepCount = std::max(0, nPresets - 1);
  info.defaultNormalizedValue = 0.0;
  info.unitId = kRootUnitId;
  info.flags = ParameterInfo::kIsProgramChange;
  return info;
}

int PresetIndexFromNormalized(double normalized, int nPresets)
{
  if (nPresets <= 1 || !std::isfinite(normalized))
    return 0;
  const double clamped = std::clamp(normalized, 0.0, 1.0);
  return static_cast<int>(std::lround(clamped * (nPresets - 1)));
}

double NormalizedFromPresetIndex(int index, int nPresets)
{
  if (nPresets <= 1)
    return 0.0;
  return static_cast<double>(std::clamp(index, 0, nPresets - 1)) / (nPresets - 1);
}

} // namespace iplug
