#pragma once

#include "framework/core/IParam.h"

#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstunits.h"

namespace iplug
{

// Identifiers of the wrapper's own parameters, above every plug-in parameter index.
inline constexpr Steinberg::Vst::ParamID kBypassParamId = 65536;
inline constexpr Steinberg::Vst::ParamID kPresetParamId = 65537;
// The one program list, and the unit every parameter belongs to.
inline constexpr Steinberg::Vst::ProgramListID kFactoryPresetListId = 1;

// What a host is told about a plug-in parameter exposed under its index.
Steinberg::Vst::ParameterInfo MakeParameterInfo(const IParam& param, Steinberg::Vst::ParamID id);
Steinberg::Vst::ParameterInfo MakeBypassParameterInfo();
Steinberg::Vst::ParameterInfo MakePresetParameterInfo(int nPresets);

// The preset a normalised "Preset" value selects: the nearest whole step across the presets.
int PresetIndexFromNormalized(double normalized, int nPresets);
double NormalizedFromPresetIndex(int index, int nPresets);

} // namespace iplug
