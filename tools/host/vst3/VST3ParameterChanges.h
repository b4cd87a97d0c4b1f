#pragma once

#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <deque>
#include <utility>
#include <vector>

namespace velmora::host::vst3
{

// One parameter's changes within a block, in the order they were added.
class VST3ParamValueQueue final : public Steinberg::Vst::IParamValueQueue
{
public:
  explicit VST3ParamValueQueue(Steinberg::Vst::ParamID id) : mId(id) {}
  // Empties the queue for another parameter, keeping its storage.
  void Reuse(Steinberg::Vst::ParamID id)
  {
    mId = id;
    mPoints.clear();
  }

  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
  Steinberg::uint32 PLUGIN_API release() override { return 1; }

  Steinberg::Vst::ParamID PLUGIN_API getParameterId() override { return mId; }
  Steinberg::int32 PLUGIN_API getPointCount() override;
  Steinberg::tresult PLUGIN_API getPoint(Steinberg::int32 index, Steinberg::int32& sampleOffset,
                                         Steinberg::Vst::ParamValue& value) override;
  Steinberg::tresult PLUGIN_API addPoint(Steinberg::int32 sampleOffset,
                                         Steinberg::Vst::ParamValue value,
                                         Steinberg::int32& index) override;

private:
  Steinberg::Vst::ParamID mId;
  std::vector<std::pair<Steinberg::int32, Steinberg::Vst::ParamValue>> mPoints;
};

// The parameter changes of one block, one queue per parameter. Host-owned: reference counting
// is inert. Clearing keeps the queues' storage, so that once blocks of the usual size have gone
// through, filling it again does not allocate.
class VST3ParameterChanges final : public Steinberg::Vst::IParameterChanges
{
public:
  void Clear() { mUsed = 0; }
  // Appends a change to the parameter's queue, creating the queue on first use.
  void Add(Steinberg::Vst::ParamID id, Steinberg::int32 sampleOffset,
           Steinberg::Vst::ParamValue value);

  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
  Steinberg::uint32 PLUGIN_API release() override { return 1; }

  Steinberg::int32 PLUGIN_API getParameterCount() override;
  Steinberg::Vst::IParamValueQueue* PLUGIN_API getParameterData(Steinberg::int32 index) override;
  Steinberg::Vst::IParamValueQueue* PLUGIN_API addParameterData(const Steinberg::Vst::ParamID& id,
                                                                Steinberg::int32& index) override;

private:
  // A deque keeps queue addresses stable while queues are added; the first mUsed are in use.
  std::deque<VST3ParamValueQueue> mQueues;
  size_t mUsed = 0;
};

} // namespace velmora::host::vst3
