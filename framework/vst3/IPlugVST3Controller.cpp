// The edit-controller side of IPlugVST3: parameters, units and the program list.
#include "framework/vst3/IPlugVST3.h"

#include "framework/vst3/VST3ParameterInfo.h"
#include "framework/vst3/VST3Strings.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace iplug
{

namespace
{

constexpr const char* kBypassOffText = "off";
constexpr const char* kBypassOnText = "on";

// The plug-in parameter behind a VST3 identifier, or null for the wrapper's own and unknown ones.
const IParam* FindParam(const IPlugBase& plug, ParamID id)
{
  return id < kBypassParamId ? plug.GetParam(static_cast<int>(id)) : nullptr;
}

std::vector<double> CurrentValues(const IPlugBase& plug)
{
  std::vector<double> values;
  values.reserve(static_cast<size_t>(plug.NParams()));
  for (int i = 0; i < plug.NParams(); ++i)
    values.push_back(plug.GetParam(i)->Value());
  return values;
}

} // namespace

tresult PLUGIN_API IPlugVST3::setComponentState(IBStream*)
{
  return kResultOk;
}

int32 PLUGIN_API IPlugVST3::getParameterCount()
{
  return NParams() + 2;
}

tresult PLUGIN_API IPlugVST3::getParameterInfo(int32 paramIndex, ParameterInfo& info)
{
  if (paramIndex >= 0 && paramIndex < NParams())
    info = MakeParameterInfo(*GetParam(paramIndex), static_cast<ParamID>(paramIndex));
  else if (paramIndex == NParams())
    info = MakeBypassParameterInfo();
  else if (paramIndex == NParams() + 1)
    info = MakePresetParameterInfo(NPresets());
  else
    return kInvalidArgument;
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::getParamStringByValue(ParamID id, ParamValue valueNormalized,
                                                    String128 string)
{
  if (!string || !std::isfinite(valueNormalized))
    return kInvalidArgument;
  std::string text;
  if (const IParam* param = FindParam(*this, id))
    text = param->GetDisplay(param->Constrain(param->FromNormalized(valueNormalized)));
  else if (id == kBypassParamId)
    text = valueNormalized >= 0.5 ? kBypassOnText : kBypassOffText;
  else if (id == kPresetParamId)
    text = GetPresetName(PresetIndexFromNormalized(valueNormalized, NPresets()));
  else
    return kInvalidArgument;
  CopyToUTF16(text, string, 128);
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::getParamValueByString(ParamID id, TChar* string,
                                                    ParamValue& valueNormalized)
{
  if (!string)
    return kInvalidArgument;
  const std::string text = UTF16ToUTF8(string, 128);
  if (const IParam* param = FindParam(*this, id))
  {
    double value = 0.0;
    if (!param->StringToValue(text.c_str(), value))
      return kResultFalse;
    valueNormalized = param->ToNormalized(value);
    return kResultOk;
  }
  if (id == kBypassParamId)
  {
    if (text == kBypassOnText || text == "1")
      valueNormalized = 1.0;
    else if (text == kBypassOffText || text == "0")
      valueNormalized = 0.0;
    else
      return kResultFalse;
    return kResultOk;
  }
  if (id == kPresetParamId)
  {
    for (int i = 0; i < NPresets(); ++i)
    {
      if (text == GetPresetName(i))
      {
        valueNormalized = NormalizedFromPresetIndex(i, NPresets());
        return kResultOk;
      }
    }
    return kResultFalse;
  }
  return kInvalidArgument;
}

ParamValue PLUGIN_API IPlugVST3::normalizedParamToPlain(ParamID id, ParamValue valueNormalized)
{
  if (const IParam* param = FindParam(*this, id))
    return param->FromNormalized(valueNormalized);
  if (id == kPresetParamId)
    return PresetIndexFromNormalized(valueNormalized, NPresets());
  return valueNormalized;
}

ParamValue PLUGIN_API IPlugVST3::plainParamToNormalized(ParamID id, ParamValue plainValue)
{
  if (const IParam* param = FindParam(*this, id))
    return param->ToNormalized(plainValue);
  if (id == kPresetParamId && std::isfinite(plainValue))
    return NormalizedFromPresetIndex(static_cast<int>(std::lround(plainValue)), NPresets());
  return plainValue;
}

ParamValue PLUGIN_API IPlugVST3::getParamNormalized(ParamID id)
{
  ServiceMainThread();
  if (const IParam* param = FindParam(*this, id))
    return param->GetNormalized();
  if (id == kBypassParamId)
    return IsBypassed() ? 1.0 : 0.0;
  if (id == kPresetParamId)
    return NormalizedFromPresetIndex(GetCurrentPresetIdx(), NPresets());
  return 0.0;
}

tresult PLUGIN_API IPlugVST3::setParamNormalized(ParamID id, ParamValue value)
{
  ServiceMainThread();
  if (!std::isfinite(value))
    return kInvalidArgument;
  if (id < kBypassParamId && id < static_cast<ParamID>(NParams()))
  {
    const int idx = static_cast<int>(id);
    mEchoes.Expect(id, value);
    GetParam(idx)->SetNormalized(value);
    SendParameterValueFromDelegate(idx, GetParam(idx)->GetNormalized(), true);
    return kResultOk;
  }
  if (id == kBypassParamId)
  {
    mEchoes.Expect(id, value);
    mBypass.store(value >= 0.5);
    return kResultOk;
  }
  if (id == kPresetParamId)
  {
    mEchoes.Expect(id, value);
    return SelectPreset(PresetIndexFromNormalized(value, NPresets()));
  }
  return kInvalidArgument;
}

tresult IPlugVST3::SelectPreset(int index)
{
  try
  {
    const std::vector<double> before = CurrentValues(*this);
    if (!RestorePreset(index))
      return kResultFalse;
    // Hosts show and save the values they hold themselves. A capture, or a recall of the values
    // already in force, leaves those right; a re-read then would only make the host rescan
    // every parameter for nothing.
    if (CurrentValues(*this) != before)
      RequestRestart(kParamValuesChanged);
    return kResultOk;
  }
  catch (const std::bad_alloc&)
  {
    return kOutOfMemory;
  }
}

tresult PLUGIN_API IPlugVST3::setComponentHandler(IComponentHandler* handler)
{
  mComponentHandler = handler;
  mHostMainThread.SetComponentHandler(handler);
  ServiceMainThread();
  return kResultOk;
}

IPlugView* PLUGIN_API IPlugVST3::createView(FIDString name)
{
  // One editor view at a time, and only of the editor kind.
  if (!GetConfig().plugHasUI || !name || std::strcmp(name, ViewType::kEditor) != 0)
    return nullptr;
  return mHostMainThread.CreateView();
}

void IPlugVST3::BeginInformHostOfParamChangeFromUI(int paramIdx)
{
  if (mComponentHandler && paramIdx >= 0 && paramIdx < NParams())
    mComponentHandler->beginEdit(static_cast<ParamID>(paramIdx));
}

void IPlugVST3::SendParameterValueFromUI(int paramIdx, double normalizedValue)
{
  IPlugBase::SendParameterValueFromUI(paramIdx, normalizedValue);
  if (mComponentHandler && paramIdx >= 0 && paramIdx < NParams())
  {
    // The host hands the edit to the processor as well; that copy is already in force.
    const double performed = GetParam(paramIdx)->GetNormalized();
    mEchoes.Expect(static_cast<ParamID>(paramIdx), performed);
    mComponentHandler->performEdit(static_cast<ParamID>(paramIdx), performed);
  }
}

void IPlugVST3::EndInformHostOfParamChangeFromUI(int paramIdx)
{
  if (mComponentHandler && paramIdx >= 0 && paramIdx < NParams())
    mComponentHandler->endEdit(static_cast<ParamID>(paramIdx));
}

bool IPlugVST3::EditorResizeFromUI(int width, int height)
{
  return mHostMainThread.RequestViewResize(width, height);
}

tresult PLUGIN_API IPlugVST3::setKnobMode(KnobMode)
{
  return kResultFalse;
}

tresult PLUGIN_API IPlugVST3::openHelp(TBool)
{
  return kResultFalse;
}

tresult PLUGIN_API IPlugVST3::openAboutBox(TBool)
{
  return kResultFalse;
}

// ---- IUnitInfo ----

int32 PLUGIN_API IPlugVST3::getUnitCount()
{
  return 1;
}

tresult PLUGIN_API IPlugVST3::getUnitInfo(int32 unitIndex, UnitInfo& info)
{
  if (unitIndex != 0)
    return kInvalidArgument;
  info = UnitInfo{};
  info.id = kRootUnitId;
  info.parentUnitId = kNoParentUnitId;
  CopyToUTF16("Root", info.name);
  info.programListId = NPresets() > 0 ? kFactoryPresetListId : kNoProgramListId;
  return kResultOk;
}

int32 PLUGIN_API IPlugVST3::getProgramListCount()
{
  return NPresets() > 0 ? 1 : 0;
}

tresult PLUGIN_API IPlugVST3::getProgramListInfo(int32 listIndex, ProgramListInfo& info)
{
  if (listIndex != 0 || NPresets() == 0)
    return kInvalidArgument;
  info = ProgramListInfo{};
  info.id = kFactoryPresetListId;
  CopyToUTF16("Factory Presets", info.name);
  info.programCount = NPresets();
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::getProgramName(ProgramListID listId, int32 programIndex,
                                             String128 name)
{
  if (!name || listId != kFactoryPresetListId || programIndex < 0 || programIndex >= NPresets())
    return kInvalidArgument;
  // Names as they stood when the host set the instance up.
  const auto idx = static_cast<size_t>(programIndex);
  CopyToUTF16(idx < mProgramNames.size() ? mProgramNames[idx] : GetPresetName(programIndex), name,
              128);
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::getProgramInfo(ProgramListID, int32, Vst::CString, String128)
{
  return kResultFalse;
}

tresult PLUGIN_API IPlugVST3::hasProgramPitchNames(ProgramListID, int32)
{
  return kResultFalse;
}

tresult PLUGIN_API IPlugVST3::getProgramPitchName(ProgramListID, int32, int16, String128)
{
  return kResultFalse;
}

UnitID PLUGIN_API IPlugVST3::getSelectedUnit()
{
  return kRootUnitId;
}

tresult PLUGIN_API IPlugVST3::selectUnit(UnitID unitId)
{
  return unitId == kRootUnitId ? kResultOk : kInvalidArgument;
}

tresult PLUGIN_API IPlugVST3::getUnitByBus(MediaType type, BusDirection dir, int32 busIndex, int32,
                                           UnitID& unitId)
{
  if (busIndex < 0 || busIndex >= mBuses.Count(type, dir))
    return kInvalidArgument;
  unitId = kRootUnitId;
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::setUnitProgramData(int32, int32, IBStream*)
{
  return kNotImplemented;
}

} // namespace iplug
