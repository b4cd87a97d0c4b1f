#include "tools/host/vst3/VST3ParameterChanges.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace velmora::host::vst3
{

tresult PLUGIN_API VST3ParamValueQueue::queryInterface(const TUID iid, void** obj)
{
  if (!obj)
    return kInvalidArgument;
  if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) ||
      FUnknownPrivate::iidEqual(iid, IParamValueQueue::iid))
  {
    *obj = static_cast<IParamValueQueue*>(this);
    return kResultOk;
  }
  *obj = nullptr;
  return kNoInterface;
}

int32 PLUGIN_API VST3ParamValueQueue::getPointCount()
{
  return static_cast<int32>(mPoints.size());
}

tresult PLUGIN_API VST3ParamValueQueue::getPoint(int32 index, int32& sampleOffset,
                                                 ParamValue& value)
{
  if (index < 0 || index >= getPointCount())
    return kInvalidArgument;
  sampleOffset = mPoints[static_cast<size_t>(index)].first;
  value = mPoints[static_cast<size_t>(index)].second;
  return kResultOk;
}

tresult PLUGIN_API VST3ParamValueQueue::addPoint(int32 sampleOffset, ParamValue value, int32& index)
{
  index = getPointCount();
  mPoints.emplace_back(sampleOffset, value);
  return kResultOk;
}

void VST3ParameterChanges::Add(ParamID id, int32 sampleOffset, ParamValue value)
{
  int32 index = 0;
  int32 pointIndex = 0;
  addParameterData(id, index)->addPoint(sampleOffset, value, pointIndex);
}

tresult PLUGIN_API VST3ParameterChanges::queryInterface(const TUID iid, void** obj)
{
  if (!obj)
    return kInvalidArgument;
  if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) ||
      FUnknownPrivate::iidEqual(iid, IParameterChanges::iid))
  {
    *obj = static_cast<IParameterChanges*>(this);
    return kResultOk;
  }
  *obj = nullptr;
  return kNoInterface;
}

int32 PLUGIN_API VST3ParameterChanges::getParameterCount()
{
  return static_cast<int32>(mUsed);
}

IParamValueQueue* PLUGIN_API VST3ParameterChanges::getParameterData(int32 index)
{
  if (index < 0 || index >= getParameterCount())
    return nullptr;
  return &mQueues[static_cast<size_t>(index)];
}

IParamValueQueue* PLUGIN_API VST3ParameterChanges::addParameterData(const ParamID& id, int32& index)
{
  for (size_t i = 0; i < mUsed; ++i)
  {
    if (mQueues[i].getParameterId() == id)
    {
      index = static_cast<int32>(i);
      return &mQueues[i];
    }
  }
  index = static_cast<int32>(mUsed);
  if (mUsed == mQueues.size())
    mQueues.emplace_back(id);
  else
    mQueues[mUsed].Reuse(id);
  return &mQueues[mUsed++];
}

} // namespace velmora::host::vst3
